// Whether the desktop has a program registered to open a kind of document.
#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The media types a compiled help file goes by: its registered name and the older alias that
// viewers still declare.
inline const QStringList kHelpFileTypes = {QStringLiteral("application/vnd.ms-htmlhelp"),
                                           QStringLiteral("application/x-chm")};

class Viewers {
public:
    virtual ~Viewers() = default;
    // Whether a program is registered as the opener of documents of the media type.
    virtual bool hasViewerFor(const QString& mediaType) const = 0;
};

// Asks the desktop's MIME tool (xdg-mime) for the default application of the type; without
// the tool nothing is registered.
class SystemViewers : public Viewers {
public:
    bool hasViewerFor(const QString& mediaType) const override;
};

// Answers from a list, for tests.
class FakeViewers : public Viewers {
public:
    explicit FakeViewers(QStringList registered = {}) : registered(std::move(registered)) {}
    bool hasViewerFor(const QString& mediaType) const override { return registered.contains(mediaType); }
    QStringList registered;
};

// Whether any of the types has a viewer.
bool hasViewerForAny(const Viewers& viewers, const QStringList& mediaTypes);

} // namespace platform
