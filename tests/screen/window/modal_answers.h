#pragma once

#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

class QWidget;

namespace q93::test {

// One answer to a menu or dialog: acts on the active popup or modal window when it is of the
// kind expected, and says whether it did.
using Answer = std::function<bool(QWidget*)>;

// Answers the menus and dialogs that open from now on, in order, polling for each in turn,
// because each opens only once the one before has closed. After 30 s without the answers
// done it closes whatever modal window is open, so that a test whose dialog never came, or
// came unexpected, fails instead of waiting for ever.
class Answers {
public:
    explicit Answers(std::vector<Answer> steps);
    bool done() const { return next_ == steps_.size(); }

private:
    void poll();

    std::vector<Answer> steps_;
    std::size_t next_ = 0;
    int polls_ = 0;
    QTimer timer_;
};

// Clicks `button` of a message box, keeping its text in *question when given (and its
// informative text, on a line of its own, where it has one).
Answer reply(QMessageBox::StandardButton button, QString* question = nullptr);
// Clicks the button with text `label` of a message box, keeping its text and informative
// text in *shown when given.
Answer replyWith(const QString& label, QString* shown = nullptr);

}  // namespace q93::test
