#include "Confirm.h"

#include "skin/Controls.h"
#include "skin/Messages.h"

#include <QLabel>

TForm6::TForm6(QWidget* owner) : TsuiDialog(owner, 320, 172, QStringLiteral("确认"), Placement::ScreenCentre)
{
    Image1 = skin::makeQuestionPicture(suiForm1, 24, 48);
    Label1 = new QLabel(QStringLiteral("文件已存在。要替换它吗？"), suiForm1);
    Label1->setGeometry(84, 60, 220, 20);
    suiButton1 = new TsuiButton(QStringLiteral("是(&Y)"), suiForm1);
    suiButton1->setGeometry(80, 128, 72, 25);
    suiButton2 = new TsuiButton(QStringLiteral("否(&N)"), suiForm1);
    suiButton2->setGeometry(168, 128, 72, 25);
    suiEdit1 = new TsuiEdit(suiForm1);
    suiEdit1->hide();
    suiEdit2 = new TsuiEdit(suiForm1);
    suiEdit2->hide();
    setTabOrder(suiButton2, suiButton1);
    connect(suiButton1, &QPushButton::clicked, this, &TForm6::suiButton1Click);
    connect(suiButton2, &QPushButton::clicked, this, &TForm6::suiButton2Click);
}

void TForm6::setWriter(const QString& kind, Writer writer)
{
    writers_[kind] = std::move(writer);
}

void TForm6::confirm(const QString& path, const QString& kind)
{
    suiEdit1->setText(path);
    suiEdit2->setText(kind);
    exec();
}

QString TForm6::path() const
{
    return suiEdit1->text();
}

QString TForm6::kind() const
{
    return suiEdit2->text();
}

void TForm6::showEvent(QShowEvent* event)
{
    TsuiDialog::showEvent(event);
    suiButton2->setFocus();
}

// A file that cannot be written is reported and the confirmation stays open.
void TForm6::suiButton1Click()
{
    skin::guarded([this] {
        const auto writer = writers_.find(kind());
        if (writer != writers_.end())
            writer->second(path());
        accept();
    });
}

void TForm6::suiButton2Click()
{
    reject();
}

void TForm6::FormClose()
{
    suiButton2->setFocus();
}
