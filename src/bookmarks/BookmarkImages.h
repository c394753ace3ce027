#pragma once

#include <QIcon>
#include <QList>

namespace notarium {

// The images of the bookmarks, drawn rather than loaded, so that they are sharp at any device
// pixel ratio: the digit of a slot, white on a rounded square, sized like the kind images.
namespace bookmark_images {

// The state image of slot 0-9.
QIcon digit(int slot);
// The ten digits, slot i at index i: the tree pane's state image list.
QList<QIcon> digits();
// left and right side by side, each in a square as high as the image, for a list whose rows show a
// state image and a kind image in one cell; width beyond two squares is the gap between them. A
// null icon leaves its square empty.
QIcon sideBySide(const QIcon& left, const QIcon& right);

} // namespace bookmark_images

} // namespace notarium
