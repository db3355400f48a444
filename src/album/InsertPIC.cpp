#include "InsertPIC.h"

#include "DecodeThread.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "skin/TsuiMessageDialog.h"
#include "store/Query.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>

namespace {
constexpr int kPreviewSide = 136;
const QString kNoPicture = QStringLiteral("没有选择图像文件或图像格式不正确！");
const QString kNoName = QStringLiteral("请为该图片输入一个名称！");
const QString kPictureFilter = QStringLiteral(
    "所有图像文件 (*.bmp;*.jpg;*.jpeg);;位图图像 (*.bmp);;JPG 文件 (*.jpg;*.jpeg)");

TsuiGroupBox* panel(const QString& caption, QWidget* parent, const QRect& place)
{
    auto* box = new TsuiGroupBox(parent, caption);
    box->setGeometry(place);
    return box;
}

TsuiEdit* field(QWidget* parent, int left, int top, int width, const char* name)
{
    auto* edit = new TsuiEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(left, top, width, 21);
    return edit;
}
} // namespace

namespace album {

QSize dialogPreviewSize(QSize natural)
{
    const qint64 w = natural.width(), h = natural.height();
    if (w <= 0 || h <= 0)
        return {};
    if (w > h)
        return QSize(kPreviewSide, int(h * kPreviewSide / w));
    return QSize(int(w * kPreviewSide / h), kPreviewSide);
}

void addPicturePreview(platform::FileQuestion& question)
{
    question.previewSide = kPreviewSide;
    question.preview = [](const QString& path) {
        QImageReader reader(path);
        const QSize shown = dialogPreviewSize(reader.size());
        if (shown.isEmpty())
            return QImage();
        reader.setScaledSize(shown);
        return reader.read();
    };
}

platform::FileQuestion openPictureQuestion(QWidget* owner)
{
    platform::FileQuestion question(platform::FileQuestion::Kind::Open, owner, QStringLiteral("打开"),
                                    kPictureFilter);
    addPicturePreview(question);
    return question;
}

} // namespace album

TForm7::TForm7(QWidget* owner, store::Query& pictureQuery)
    : TsuiDialog(owner, 424, 304, QStringLiteral("添加")), pictureQuery_(pictureQuery)
{
    suiGroupBox1 = panel(QStringLiteral("选择图片"), suiForm1, QRect(8, 37, 402, 64));
    suiEdit1 = field(suiGroupBox1, 16, 32, 296, "suiEdit1");
    suiEdit1->setReadOnly(true);
    suiButton1 = new TsuiButton(QStringLiteral("浏览..."), suiGroupBox1);
    suiButton1->setGeometry(330, 32, 56, 20);
    suiButton1->setAutoDefault(false);
    suiGroupBox2 = panel(QStringLiteral("预览"), suiForm1, QRect(8, 112, 144, 165));
    Image1 = new QLabel(suiGroupBox2);
    Image1->setScaledContents(true);
    Image1->setGeometry(4, 25, 0, 0);
    suiGroupBox3 = panel(QStringLiteral("属性"), suiForm1, QRect(168, 112, 242, 128));
    Label1 = new QLabel(QStringLiteral("图片名称："), suiGroupBox3);
    Label1->move(16, 32);
    suiEdit2 = field(suiGroupBox3, 16, 48, 210, "suiEdit2");
    Label2 = new QLabel(QStringLiteral("图片描述："), suiGroupBox3);
    Label2->move(16, 80);
    suiEdit3 = field(suiGroupBox3, 16, 96, 210, "suiEdit3");
    suiButton2 = new TsuiButton(QStringLiteral("确定(&O)"), suiForm1);
    suiButton2->setGeometry(240, 262, 72, 25);
    suiButton3 = new TsuiButton(QStringLiteral("取消(&C)"), suiForm1);
    suiButton3->setGeometry(328, 262, 72, 25);
    for (TsuiButton* button : {suiButton2, suiButton3})
        button->setAutoDefault(false);
    setTabOrder(suiEdit1, suiButton1);
    setTabOrder(suiButton1, suiEdit2);
    setTabOrder(suiEdit2, suiEdit3);
    setTabOrder(suiEdit3, suiButton2);
    setTabOrder(suiButton2, suiButton3);
    suiMessageDialog1 = new TsuiMessageDialog(this, TsuiIconType::suiWarning);
    loader_ = new album::DecodeThread(this);
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    connect(suiButton1, &QPushButton::clicked, this, &TForm7::suiButton1Click);
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    connect(suiButton2, &QPushButton::clicked, this, &TForm7::suiButton2Click);
    suiButton3->setObjectName(QStringLiteral("suiButton3"));
    connect(suiButton3, &QPushButton::clicked, this, &TForm7::suiButton3Click);
}

QSize TForm7::previewSize() const
{
    return loaded_ ? Image1->size() : QSize();
}

void TForm7::clearFields()
{
    ++request_;  // a file still loading is no longer wanted
    loading_ = false;
    suiEdit1->clear();
    suiEdit2->clear();
    suiEdit3->clear();
    loaded_.reset();
    Image1->clear();
    Image1->resize(0, 0);
}

// The file is read and decoded off the window's thread, so that a large picture never stops the
// dialog; only the newest file chosen is shown. A file the loader cannot read is reported and
// leaves the fields empty. A picture with a side of 0 cannot be previewed and counts as no
// picture.
void TForm7::suiButton1Click()
{
    const QString path = fileChooser_->choose(album::openPictureQuestion(this));
    if (path.isEmpty())
        return;
    clearFields();
    const quint64 request = ++request_;
    loading_ = true;
    loader_->replace([this, request, path](const std::atomic<bool>&) -> album::DecodeThread::Delivery {
        try {
            album::LoadedPicture picture = album::loadPictureFile(path);
            const QSize shown = album::dialogPreviewSize(picture.image.size());
            const QImage preview = shown.isEmpty() ? QImage()
                                                   : picture.image.scaled(shown, Qt::IgnoreAspectRatio,
                                                                          Qt::SmoothTransformation);
            picture.image = preview;  // the full picture is not needed again: the data is stored
            return [this, request, path, picture = std::move(picture), preview]() mutable {
                takeLoaded(request, path, std::move(picture), preview);
            };
        } catch (const std::exception& failure) {
            const QString message = QString::fromUtf8(failure.what());
            return [this, request, message] { takeFailure(request, message); };
        }
    });
}

void TForm7::takeLoaded(quint64 request, const QString& path, album::LoadedPicture picture, const QImage& preview)
{
    if (request != request_ || !loading_)
        return;
    loading_ = false;
    suiEdit1->setText(path);
    suiEdit2->setText(QFileInfo(path).fileName());
    suiEdit3->setFocus();
    if (preview.isNull())
        return;
    Image1->setPixmap(QPixmap::fromImage(preview));
    Image1->resize(preview.size());
    loaded_ = std::move(picture);
}

void TForm7::takeFailure(quint64 request, const QString& message)
{
    if (request != request_ || !loading_)
        return;
    loading_ = false;
    skin::showErrorReport(message);
}

void TForm7::waitForLoading()
{
    loader_->waitUntilIdle();
}

void TForm7::suiButton2Click()
{
    if (suiEdit1->text().isEmpty() || !loaded_) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kNoPicture);
        return;
    }
    if (suiEdit2->text().trimmed().isEmpty()) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kNoName);
        return;
    }
    skin::guarded([this] {
        album::storePicture(pictureQuery_, suiEdit1->text(), *loaded_, suiEdit2->text(), suiEdit3->text());
        emit pictureStored();
        accept();
    });
}

void TForm7::suiButton3Click()
{
    reject();
}

void TForm7::FormClose()
{
    clearFields();
    suiEdit1->setFocus();
}
