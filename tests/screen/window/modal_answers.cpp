#include "tests/screen/window/modal_answers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>

namespace q93::test {
namespace {

constexpr int kPollMs = 10;
constexpr int kGiveUpPolls = 3000;

}  // namespace

Answers::Answers(std::vector<Answer> steps) : steps_(std::move(steps)) {
    timer_.setInterval(kPollMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
}

void Answers::poll() {
    QWidget* shown = QApplication::activePopupWidget();
    if (shown == nullptr)
        shown = QApplication::activeModalWidget();
    if (shown != nullptr && steps_[next_](shown) && ++next_ == steps_.size()) {
        timer_.stop();
    } else if (++polls_ > kGiveUpPolls) {
        timer_.stop();
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    }
}

Answer reply(QMessageBox::StandardButton button, QString* question) {
    return [button, question](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        if (box == nullptr)
            return false;
        if (question != nullptr)
            *question = box->informativeText().isEmpty()
                            ? box->text()
                            : box->text() + "\n" + box->informativeText();
        box->button(button)->click();
        return true;
    };
}

Answer replyWith(const QString& label, QString* shown) {
    return [label, shown](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box == nullptr)
            return false;
        if (shown != nullptr)
            *shown = box->text() + "\n" + box->informativeText();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == label) {
                button->click();
                return true;
            }
        }
        return false;
    };
}

}  // namespace q93::test
