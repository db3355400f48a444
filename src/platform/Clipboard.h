// The system clipboard as the program needs it.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

namespace platform {

class Clipboard : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void setText(const QString& text) = 0;
    virtual QString text() const = 0;

signals:
    void changed();
};

// The desktop's clipboard; changed() follows QClipboard::dataChanged on the UI thread.
class SystemClipboard : public Clipboard {
    Q_OBJECT
public:
    explicit SystemClipboard(QObject* parent = nullptr);
    void setText(const QString& text) override;
    QString text() const override;
};

// An in-process clipboard for tests.
class FakeClipboard : public Clipboard {
    Q_OBJECT
public:
    using Clipboard::Clipboard;
    void setText(const QString& text) override { text_ = text; emit changed(); }
    QString text() const override { return text_; }

private:
    QString text_;
};

} // namespace platform
