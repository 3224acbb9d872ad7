#include "screen/kit/app_images.h"

#include <array>

#include "resources/icons/q93config_icon.xpm"
#include "resources/icons/tree_images.xpm"

namespace q93 {
namespace {

constexpr int kImageSize = 16;
constexpr int kImageCount = kEncoderImage + 1;

}  // namespace

QPixmap treeImage(int index) {
    static const QPixmap strip(kTreeImagesXpm);
    return strip.copy(index * kImageSize, 0, kImageSize, kImageSize);
}

const QIcon& treeIcon(int index) {
    static const std::array<QIcon, kImageCount> icons = [] {
        std::array<QIcon, kImageCount> cut;
        for (int i = 0; i < kImageCount; ++i)
            cut[i] = QIcon(treeImage(i));
        return cut;
    }();
    static const QIcon none;
    return index >= 0 && index < kImageCount ? icons[index] : none;
}

QIcon programIcon() {
    return QIcon(QPixmap(kWindowIconXpm));
}

}  // namespace q93
