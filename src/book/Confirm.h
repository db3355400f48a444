// The overwrite confirmation: asks before a file is written over an existing one, and writes
// it itself when the answer is yes.
#pragma once

#include "skin/TsuiDialog.h"
#include <functional>
#include <map>

class QLabel;
class TsuiButton;
class TsuiEdit;

namespace book {
// The kinds of content the confirmation writes: an entry's text, a picture.
inline const QString kEntryKind = QStringLiteral("资料");
inline const QString kPictureKind = QStringLiteral("图片");
}

class TForm6 : public TsuiDialog {
    Q_OBJECT
public:
    using Writer = std::function<void(const QString& path)>;

    explicit TForm6(QWidget* owner);

    // How content of a kind (kEntryKind, kPictureKind) is written; other kinds write nothing.
    void setWriter(const QString& kind, Writer writer);
    // Sets the path and the kind, then asks modally; writes on "是(&Y)".
    void confirm(const QString& path, const QString& kind);

    void suiButton1Click();  // 是(&Y)
    void suiButton2Click();  // 否(&N)

    QString path() const;
    QString kind() const;
    TsuiButton* yesButton() const { return suiButton1; }
    TsuiButton* noButton() const { return suiButton2; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormClose() override;

    std::map<QString, Writer> writers_;
    QLabel* Image1;
    QLabel* Label1;
    TsuiButton* suiButton1;
    TsuiButton* suiButton2;
    TsuiEdit* suiEdit1;  // hidden: the path
    TsuiEdit* suiEdit2;  // hidden: the kind
};
