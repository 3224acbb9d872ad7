#pragma once

#include <string>
#include <vector>

#include "base/user_seam.h"

namespace q93::test {

// Keeps every warning and progress event; installed for its lifetime.
class RecordingSeam : public UserSeam {
public:
    RecordingSeam();
    ~RecordingSeam() override;

    void showWarning(const std::string& text) override { warnings.push_back(text); }
    void progressCreate() override { events.push_back("create"); }
    void progressShow(const std::string& text) override { events.push_back("show:" + text); }
    void progressHide() override { events.push_back("hide"); }
    void progressDestroy() override { events.push_back("destroy"); }

    std::vector<std::string> warnings;
    std::vector<std::string> events;
};

}  // namespace q93::test
