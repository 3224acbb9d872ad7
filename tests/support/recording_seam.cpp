#include "tests/support/recording_seam.h"

namespace q93::test {

RecordingSeam::RecordingSeam() {
    installUserSeam(this);
}

RecordingSeam::~RecordingSeam() {
    installUserSeam(nullptr);
}

}  // namespace q93::test
