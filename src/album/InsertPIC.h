// The add-picture dialog: a picture file chosen, previewed and stored as a new record of the
// album with a name and a description.
#pragma once

#include "PictureRecords.h"
#include "platform/FileChooser.h"
#include "skin/TsuiDialog.h"

class QLabel;
class TsuiButton;
class TsuiEdit;
class TsuiGroupBox;
class TsuiMessageDialog;

namespace store {
class Query;
}

namespace album {
class DecodeThread;

// The dialog preview's size: the longer side 136, small pictures enlarged too (products before
// the division, which truncates). An empty size for a picture with a side of 0.
QSize dialogPreviewSize(QSize natural);

// Makes the chooser asked `question` show a preview of the highlighted picture file.
void addPicturePreview(platform::FileQuestion& question);
// The question for a picture file to add, with a preview of the highlighted one.
platform::FileQuestion openPictureQuestion(QWidget* owner);
}

class TForm7 : public TsuiDialog {
    Q_OBJECT
public:
    TForm7(QWidget* owner, store::Query& pictureQuery);

    void setFileChooser(platform::FileChooser& chooser) { fileChooser_ = &chooser; }

    TsuiEdit* pathEdit() const { return suiEdit1; }
    TsuiEdit* nameEdit() const { return suiEdit2; }
    TsuiEdit* descriptionEdit() const { return suiEdit3; }
    // The dialog preview: its size, empty when it holds no picture.
    QSize previewSize() const;
    // Whether the chosen file is still being read and decoded, and the wait until it is shown
    // (or its failure reported).
    bool loading() const { return loading_; }
    void waitForLoading();

signals:
    // A picture was stored through the picture query, as its new last row.
    void pictureStored();

private:
    void suiButton1Click();  // 浏览...
    void suiButton2Click();  // 确定(&O)
    void suiButton3Click();  // 取消(&C)
    void FormClose() override;
    void clearFields();
    // The chosen file, read and decoded on the decoding thread, shown in the fields.
    void takeLoaded(quint64 request, const QString& path, album::LoadedPicture picture, const QImage& preview);
    void takeFailure(quint64 request, const QString& message);

    store::Query& pictureQuery_;
    platform::FileChooser* fileChooser_ = &platform::dialogFileChooser();
    std::optional<album::LoadedPicture> loaded_;
    album::DecodeThread* loader_ = nullptr;
    quint64 request_ = 0;  // the newest file chosen; results for older ones are dropped
    bool loading_ = false;

    TsuiGroupBox* suiGroupBox1;  // 选择图片
    TsuiGroupBox* suiGroupBox2;  // 预览
    TsuiGroupBox* suiGroupBox3;  // 属性
    TsuiEdit* suiEdit1;       // the path
    TsuiButton* suiButton1;
    QLabel* Image1;           // the dialog preview
    QLabel* Label1;
    TsuiEdit* suiEdit2;       // the name
    QLabel* Label2;
    TsuiEdit* suiEdit3;       // the description
    TsuiButton* suiButton2;
    TsuiButton* suiButton3;
    TsuiMessageDialog* suiMessageDialog1;
};
