#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "base/string_table.h"
#include "protocol/parameter_set.h"
#include "screen/pages/page_owner.h"
#include "screen/pages/property_page.h"
#include "screen/pages/property_sheet.h"
#include "tests/support/recording_seam.h"

namespace q93::test {

// The window that holds the sheet, as far as the pages see it.
class CountingOwner : public PageOwner {
public:
    void WriteClock() override { calls.push_back("WriteClock"); }
    void ReadClock() override { calls.push_back("ReadClock"); }
    void SaveCurrentNode() override { calls.push_back("SaveCurrentNode"); }
    std::vector<std::string> calls;
};

// A sheet with a fresh parameter set, in the language of the test's parameter.
class SheetTest : public ::testing::TestWithParam<Language> {
protected:
    void SetUp() override;
    void TearDown() override;

    bool german() const { return GetParam() == Language::German; }
    // The German or the English text, as the parameter asks.
    static QString text(const char* german, const char* english);

    // Shows the preset set, activates the page at `index` and so loads it.
    PropertyPage* openPresetPage(int index);
    // Leaves the active page for another tab of the set, which stores it.
    void leavePage();

    // What the sheet's pages show and store.
    ParameterSet& params() const { return sheet->parameters(); }

    QLineEdit* edit(int id) const;
    QComboBox* list(int id) const;
    QLabel* label(int id) const;
    QString editText(int id) const { return edit(id)->text(); }
    // The most a user may type or paste into a filtered edit; -1 for any other edit.
    int textLimit(int id) const;
    // Replaces the text of an edit as a paste would: unfiltered.
    void setEditText(int id, const char* text) const { edit(id)->setText(QString::fromUtf8(text)); }

    RecordingSeam seam;
    CountingOwner owner;
    MyPropertySheet* sheet = nullptr;
};

std::string languageName(const ::testing::TestParamInfo<Language>& info);

// Runs the test body in another working directory and returns to the previous one.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& path)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

}  // namespace q93::test

#define Q93_PAGES_BOTH_LANGUAGES(Suite)                                                            \
    INSTANTIATE_TEST_SUITE_P(Languages, Suite,                                                     \
                             ::testing::Values(::q93::Language::German, ::q93::Language::English), \
                             ::q93::test::languageName)
