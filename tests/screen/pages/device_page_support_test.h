#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "base/string_table.h"
#include "protocol/parameter_set.h"
#include "screen/pages/page_owner.h"
#include "tests/screen/pages/page_test_support.h"
#include "tests/support/recording_seam.h"

namespace q93::test {

// The main window's part in the device page tests: it records every call, and runs what a
// test hands it while the page waits for the call to return.
class RecordingOwner : public PageOwner {
public:
    void WriteClock() override { record("WriteClock"); }
    void ReadClock() override { record("ReadClock"); }
    void SaveCurrentNode() override { record("SaveCurrentNode"); }

    std::vector<std::string> calls;
    std::function<void()> duringCall;

private:
    void record(const char* name) {
        calls.push_back(name);
        if (duringCall)
            duringCall();
    }
};

// A parameter set and warning recorder in the language of the test's parameter; the
// language returns to German afterwards so that the next suite starts alike.
class DevicePageTest : public ::testing::TestWithParam<Language> {
protected:
    // Before the derived fixture builds its page, so that the page is built in this language.
    DevicePageTest() { setLanguage(GetParam()); }
    void TearDown() override { setLanguage(Language::German); }
    bool german() const { return GetParam() == Language::German; }

    RecordingSeam seam;
    RecordingOwner owner;
    ParameterSet params;
};

}  // namespace q93::test

// Readable failure messages for texts on controls.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
