#include "tests/screen/pages/page_test_support.h"

#include "screen/kit/mask_edit.h"

namespace q93::test {

void SheetTest::SetUp() {
    setLanguage(GetParam());
    sheet = new MyPropertySheet(&owner);
}

void SheetTest::TearDown() {
    delete sheet;
    setLanguage(Language::German);
}

QString SheetTest::text(const char* german, const char* english) {
    return QString::fromUtf8(currentLanguage() == Language::German ? german : english);
}

PropertyPage* SheetTest::openPresetPage(int index) {
    sheet->ShowPresetPages();
    sheet->setCurrentIndex(index);
    return sheet->activePage();
}

void SheetTest::leavePage() {
    const int current = sheet->currentIndex();
    sheet->setCurrentIndex(current == 0 ? 1 : 0);
}

QLineEdit* SheetTest::edit(int id) const {
    auto* control = sheet->activePage()->controlAs<QLineEdit>(id);
    EXPECT_NE(control, nullptr) << "edit " << id;
    return control;
}

int SheetTest::textLimit(int id) const {
    const auto* masked = qobject_cast<const CMaskEdit*>(edit(id));
    return masked == nullptr ? -1 : masked->textLimit();
}

QComboBox* SheetTest::list(int id) const {
    auto* control = sheet->activePage()->controlAs<QComboBox>(id);
    EXPECT_NE(control, nullptr) << "list " << id;
    return control;
}

QLabel* SheetTest::label(int id) const {
    auto* control = sheet->activePage()->controlAs<QLabel>(id);
    EXPECT_NE(control, nullptr) << "label " << id;
    return control;
}

std::string languageName(const ::testing::TestParamInfo<Language>& info) {
    return info.param == Language::German ? "German" : "English";
}

}  // namespace q93::test
