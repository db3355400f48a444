#include "Confirm.h"

#include "skin/Controls.h"
#include "skin/Messages.h"

#include <QLabel>

TForm6::TForm6(QWidget* owner)
    : TsuiQuestionDialog(owner, 320, 172, QStringLiteral("确认"), Placement::ScreenCentre,
                         {{24, 48}, 128, 80, 168})
{
    Label1 = new QLabel(QStringLiteral("文件已存在。要替换它吗？"), suiForm1);
    Label1->setGeometry(84, 60, 220, 20);
    suiEdit1 = new TsuiEdit(suiForm1);
    suiEdit1->hide();
    suiEdit2 = new TsuiEdit(suiForm1);
    suiEdit2->hide();
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
