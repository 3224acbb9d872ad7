#include "screen/pages/correction_edit_dialog.h"

#include <QPushButton>

#include "resources/templates/correction_page_template.h"
#include "screen/kit/mask_edit.h"
#include "screen/kit/template_builder.h"

namespace q93 {
namespace {

constexpr qsizetype kMaxText = 254;
// No minus sign: corrections are typed as magnitudes; a comma is read as a point.
constexpr const char* kValueChars = "0123456789.,";

}  // namespace

CorrectionEditDialog::CorrectionEditDialog(const QString& value, QWidget* parent)
    : QDialog(parent) {
    buildTemplate(correctionEditTemplate(), this);
    // The template's "Bearbeiten" / "Modify" is replaced in both languages.
    setWindowTitle(QStringLiteral("Korrekturwert"));
    setFixedSize(dialogPixelSize(correctionEditTemplate()));
    edit_ = control<CMaskEdit>(this, kCorrectionValueEdit);
    if (edit_ != nullptr) {
        edit_->SetValidChars(kValueChars);
        edit_->setText(value.left(kMaxText));
        edit_->selectAll();
        edit_->setFocus();
    }
    if (auto* ok = control<QPushButton>(this, kOkButtonId)) {
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    }
    if (auto* cancel = control<QPushButton>(this, kCancelButtonId)) {
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
