#include "screen/kit/app_images.h"

#include "resources/icons/q93config_icon.xpm"
#include "resources/icons/tree_images.xpm"

namespace q93 {
namespace {

constexpr int kImageSize = 16;

}  // namespace

QPixmap treeImage(int index) {
    static const QPixmap strip(kTreeImagesXpm);
    return strip.copy(index * kImageSize, 0, kImageSize, kImageSize);
}

QIcon programIcon() {
    return QIcon(QPixmap(kWindowIconXpm));
}

}  // namespace q93
