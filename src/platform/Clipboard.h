// The system clipboard as the program needs it: text, pictures, emptying, the test for what it
// holds, and a notice on every change.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <stdexcept>

namespace platform {

// Reading, putting or emptying failed (another program holds the clipboard, its owner went
// away, its picture cannot be decoded). The message is meant for the user.
class ClipboardError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Clipboard : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void setText(const QString& text) = 0;
    virtual QString text() const = 0;
    virtual void setImage(const QImage& image) = 0;
    virtual QImage image() const = 0;
    // Empties the clipboard: afterwards it holds nothing.
    virtual void clear() = 0;
    // What the clipboard holds; these tests never read the data itself.
    virtual bool hasText() const = 0;
    virtual bool hasImage() const = 0;
    // Whether change notices also come when nothing changed: a Wayland compositor announces the
    // clipboard afresh each time one of the program's windows takes the keyboard focus, and
    // announces the program's own copies once more after the toolkit did.
    virtual bool repeatsUnchangedContent() const { return false; }

signals:
    // Every change of the clipboard, also those the program makes itself, on the UI thread.
    void changed();
};

// The desktop's clipboard; changed() follows QClipboard::dataChanged on the UI thread.
class SystemClipboard : public Clipboard {
    Q_OBJECT
public:
    explicit SystemClipboard(QObject* parent = nullptr);
    void setText(const QString& text) override;
    QString text() const override;
    void setImage(const QImage& image) override;
    QImage image() const override;
    void clear() override;
    bool hasText() const override;
    bool hasImage() const override;
    bool repeatsUnchangedContent() const override;
};

// An in-process clipboard for tests. Each change emits changed() at once, as the desktop's
// clipboard does for changes made by the program itself.
class FakeClipboard : public Clipboard {
    Q_OBJECT
public:
    using Clipboard::Clipboard;
    void setText(const QString& text) override;
    QString text() const override;
    void setImage(const QImage& image) override;
    QImage image() const override;
    void clear() override;
    bool hasText() const override { return hasText_; }
    bool hasImage() const override { return hasImage_; }
    bool repeatsUnchangedContent() const override { return repeatsUnchanged_; }

    // Contents another program may put there: text and a picture at once, or neither (a copied
    // file, say), which holds something but nothing of the two.
    void setTextAndImage(const QString& text, const QImage& image);
    void setOtherContent();
    // While set, reading the text or the picture fails as when another program holds the
    // clipboard open.
    void setReadsFail(bool fail) { readsFail_ = fail; }
    // Notices as a Wayland session gives them; announceAgain() is the repeat of the unchanged
    // content that a change of the keyboard focus brings there.
    void setRepeatsUnchangedContent(bool repeats) { repeatsUnchanged_ = repeats; }
    void announceAgain() { emit changed(); }

private:
    void replace(bool hasText, const QString& text, bool hasImage, const QImage& image);
    void checkReadable() const;

    QString text_;
    QImage image_;
    bool hasText_ = false;
    bool hasImage_ = false;
    bool readsFail_ = false;
    bool repeatsUnchanged_ = false;
};

} // namespace platform
