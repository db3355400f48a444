#include "DeletePIC.h"

#include "PictureRecords.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "store/Query.h"

#include <QLabel>

namespace album {

std::optional<QString> deleteQuestion(const store::Query& pictureQuery)
{
    if (!pictureQuery.isOpen() || pictureQuery.isEmpty())
        return std::nullopt;
    return QStringLiteral("- ") + pictureQuery.fieldText(kNameColumn);
}

} // namespace album

TForm9::TForm9(QWidget* owner, store::Query& pictureQuery)
    : TsuiQuestionDialog(owner, 304, 160, QStringLiteral("删除"), Placement::OwnerCentre,
                         {{24, 56}, 120, 136, 216}),
      pictureQuery_(pictureQuery)
{
    Label1 = new QLabel(QStringLiteral("确实要删除本张图片吗？"), suiForm1);
    Label1->move(88, 56);
    Label1->adjustSize();
    Label2 = new QLabel(suiForm1);
    Label2->setGeometry(88, 82, 200, 20);
}

void TForm9::deleteCurrentPicture()
{
    const std::optional<QString> question = album::deleteQuestion(pictureQuery_);
    if (!question)
        return;
    Label2->setText(Label2->fontMetrics().elidedText(*question, Qt::ElideMiddle, Label2->width()));
    Label2->setToolTip(*question);
    exec();
}

QString TForm9::question() const
{
    return Label2->toolTip();
}

QString TForm9::shownQuestion() const
{
    return Label2->text();
}

// The dialog closes first; the store's refusal is reported and the record stays.
void TForm9::suiButton1Click()
{
    accept();
    skin::guarded([this] { pictureQuery_.deleteCurrent(); });
}
