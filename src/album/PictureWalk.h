// What works on the album's pictures one record at a time (the album export, the picture
// actions): the current record's name, description and decoded picture, and a walk through all
// records in name order.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace album {

class PictureWalk {
public:
    virtual ~PictureWalk() = default;
    // All pictures again, sorted by name, with the first current. Throws on a store error.
    virtual void restartByName() = 0;
    virtual int count() const = 0;
    // The next record becomes current and its picture is decoded; a record that does not decode
    // is reported to the user, and failed() tells it.
    virtual void next() = 0;
    virtual bool failed() const = 0;
    virtual QString name() const = 0;
    virtual QString description() const = 0;
    // The current record's picture, empty when it has none (a JPEG may be reduced to the size it
    // is shown at); the stored stream of a JPEG record.
    virtual const QImage& picture() const = 0;
    virtual const QByteArray& jpegData() const = 0;
};

} // namespace album
