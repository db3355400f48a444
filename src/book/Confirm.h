// The overwrite confirmation: asks before a file is written over an existing one, and writes
// it itself when the answer is yes.
#pragma once

#include "skin/TsuiQuestionDialog.h"
#include <functional>
#include <map>

class QLabel;
class TsuiEdit;

namespace book {
// The kinds of content the confirmation writes: an entry's text, a picture.
inline const QString kEntryKind = QStringLiteral("资料");
inline const QString kPictureKind = QStringLiteral("图片");
}

class TForm6 : public TsuiQuestionDialog {
    Q_OBJECT
public:
    using Writer = std::function<void(const QString& path)>;

    explicit TForm6(QWidget* owner);

    // How content of a kind (kEntryKind, kPictureKind) is written; other kinds write nothing.
    void setWriter(const QString& kind, Writer writer);
    // Sets the path and the kind, then asks modally; writes on "是(&Y)".
    void confirm(const QString& path, const QString& kind);

    QString path() const;
    QString kind() const;

private:
    void suiButton1Click() override;  // 是(&Y)
    std::map<QString, Writer> writers_;
    QLabel* Label1;
    TsuiEdit* suiEdit1;  // hidden: the path
    TsuiEdit* suiEdit2;  // hidden: the kind
};
