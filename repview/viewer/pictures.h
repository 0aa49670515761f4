#pragma once
// The viewer's pictures, drawn rather than shipped: the window's icon (a
// printer with a page) and the small picture that marks a load.
#include <QIcon>
#include <QPixmap>

namespace zlt::repview {

QIcon programIcon();
QPixmap loadingPicture();

}  // namespace zlt::repview
