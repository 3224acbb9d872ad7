#include "resources/version_text.h"

#include <cstdio>

#include "version.h"

namespace q93 {

std::string VersionText() {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u%u", unsigned{Q93_VERSION_MAJOR},
                  unsigned{Q93_VERSION_MINOR}, unsigned{Q93_VERSION_PATCH});
    return text;
}

std::string WindowTitle() { return "Q93 Config V" + VersionText(); }

}  // namespace q93
