#include "screen/pages/correction_edit_dialog.h"

#include <QPushButton>

#include "screen/kit/mask_edit.h"
#include "screen/kit/template_builder.h"
#include "resources/templates/correction_page_template.h"

namespace q93 {
namespace {

constexpr int kValueEdit = 1137;
constexpr qsizetype kMaxText = 254;
// No minus sign: corrections are typed as magnitudes; a comma is read as a point.
constexpr const char* kValueChars = "0123456789.,";

}  // namespace

CorrectionEditDialog::CorrectionEditDialog(const QString& value, QWidget* parent)
    : QDialog(parent) {
    const std::map<int, QWidget*> controls = buildTemplate(correctionEditTemplate(), this);
    // The template's "Bearbeiten" / "Modify" is replaced in both languages.
    setWindowTitle(QStringLiteral("Korrekturwert"));
    setFixedSize(dialogPixelSize(correctionEditTemplate()));
    auto find = [&controls](int id) {
        const auto it = controls.find(id);
        return it == controls.end() ? nullptr : it->second;
    };
    edit_ = qobject_cast<CMaskEdit*>(find(kValueEdit));
    if (edit_ != nullptr) {
        edit_->SetValidChars(kValueChars);
        edit_->setText(value.left(kMaxText));
        edit_->selectAll();
        edit_->setFocus();
    }
    if (auto* ok = qobject_cast<QPushButton*>(find(kOkButtonId))) {
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    }
    if (auto* cancel = qobject_cast<QPushButton*>(find(kCancelButtonId))) {
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }
}

QString CorrectionEditDialog::value() const {
    if (edit_ == nullptr)
        return QString();
    QString text = edit_->text().left(kMaxText);
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text;
}

}  // namespace q93
