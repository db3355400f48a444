// What works on the album's pictures one record at a time (the album export, the picture
// actions): the current record's name, description and decoded picture, and a walk through all
// records in name order.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVariant>

namespace album {

// One record as the walk reads it: what the album stores, not yet decoded.
struct WalkRecord {
    QString name;
    QString description;
    QVariant flag;
    QByteArray data;  // empty for a record of no format (a Fail record): it is never decoded
};

class PictureWalk {
public:
    virtual ~PictureWalk() = default;
    // All pictures again, sorted by name, with the first current. From here until endWalk() the
    // current record moves without its picture being decoded: the walker reads the records
    // itself. Throws on a store error.
    virtual void restartByName() = 0;
    virtual int count() const = 0;
    // Record index of the walk (from 0, in its order), read without moving to it; its picture's
    // bytes go into the memory of reuse where it holds enough. Throws on a store error.
    virtual WalkRecord recordAt(int index, QByteArray reuse = {}) const = 0;
    // Record index becomes current; the lists follow it. Throws on a store error.
    virtual void moveTo(int index) = 0;
    // Ends the walk: the current record's picture is decoded and shown as after any move. A
    // record that does not decode is reported to the user, and failed() tells it.
    virtual void endWalk() = 0;
    virtual bool failed() const = 0;
    virtual QString name() const = 0;
    virtual QString description() const = 0;
    // The current record's picture, empty when it has none (a JPEG may be reduced to the size it
    // is shown at); the stored stream of a JPEG record.
    virtual const QImage& picture() const = 0;
    virtual const QByteArray& jpegData() const = 0;
};

} // namespace album
