// Every skin picture the program carries, drawn anew: the style pictures of the five built-in
// styles and the shared ones, by resource name.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace skingen {

struct NamedPicture {
    QString name;
    QImage picture;
};

std::vector<NamedPicture> allSkinPictures();

} // namespace skingen
