#pragma once

#include <QIcon>
#include <QPixmap>

namespace q93 {

// The tree's images by index, as the strip holds them: 2 preset, 3 site, 4 encoder.
inline constexpr int kPresetImage = 2;
inline constexpr int kSiteImage = 3;
inline constexpr int kEncoderImage = 4;

QPixmap treeImage(int index);
// The same as an icon, cut from the strip once: a tree of a thousand encoders shows ten
// thousand of them.
const QIcon& treeIcon(int index);
// The program's icon (the site's mast), for the window and the about box.
QIcon programIcon();

}  // namespace q93
