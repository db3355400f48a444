#include "SearchPIC.h"

#include "skin/Controls.h"
#include "skin/Messages.h"
#include "store/Query.h"

#include <QLabel>

namespace album {

void searchPictures(store::Query& pictureQuery, store::statements::PictureColumn column,
                    bool containing, const QString& text)
{
    pictureQuery.reopenOn(containing ? store::statements::fuzzyPictureSearch(column, text)
                                     : store::statements::exactPictureSearch(column, text));
    if (pictureQuery.isEmpty())
        pictureQuery.first();
}

} // namespace album

namespace {
QLabel* labelAt(const QString& text, QWidget* parent, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

TsuiComboBox* choiceAt(const QStringList& items, QWidget* parent, int left, int top, const char* name)
{
    auto* choice = new TsuiComboBox(parent);
    choice->setObjectName(QString::fromLatin1(name));
    choice->addItems(items);
    choice->setGeometry(left, top, 120, 22);
    return choice;
}
} // namespace

TForm10::TForm10(QWidget* owner, store::Query& pictureQuery)
    : TsuiDialog(owner, 280, 200, QStringLiteral("搜索"), Placement::ScreenCentre),
      pictureQuery_(pictureQuery)
{
    Label1 = labelAt(QStringLiteral("搜索条件："), suiForm1, 24, 52);
    suiComboBox1 = choiceAt({QStringLiteral("图片名称"), QStringLiteral("图片描述")}, suiForm1, 96, 48,
                            "suiComboBox1");
    Label2 = labelAt(QStringLiteral("搜索方式："), suiForm1, 24, 84);
    suiComboBox2 = choiceAt({QStringLiteral("包含"), QStringLiteral("等于")}, suiForm1, 96, 80,
                            "suiComboBox2");
    Label3 = labelAt(QStringLiteral("搜索内容："), suiForm1, 24, 116);
    suiEdit1 = new TsuiEdit(suiForm1);
    suiEdit1->setObjectName(QStringLiteral("suiEdit1"));
    suiEdit1->setGeometry(96, 112, 152, 21);
    suiButton1 = new TsuiButton(QStringLiteral("搜索(&S)"), suiForm1);
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiButton1->setGeometry(96, 156, 72, 25);
    suiButton1->setDefault(true);
    suiButton2 = new TsuiButton(QStringLiteral("关闭(&C)"), suiForm1);
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    suiButton2->setGeometry(184, 156, 72, 25);
    suiButton2->setAutoDefault(false);
    setTabOrder(suiEdit1, suiButton1);
    setTabOrder(suiButton1, suiButton2);
    setTabOrder(suiButton2, suiComboBox1);
    setTabOrder(suiComboBox1, suiComboBox2);
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    connect(suiButton1, &QPushButton::clicked, this, &TForm10::suiButton1Click);
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    connect(suiButton2, &QPushButton::clicked, this, &TForm10::suiButton2Click);
    // The text field has the focus from the first opening on, as after every close.
    suiEdit1->setFocus();
}

// A statement the store refuses is reported; the dialog then stays open.
void TForm10::suiButton1Click()
{
    const auto column = suiComboBox1->currentIndex() == 0 ? store::statements::PictureColumn::Name
                                                           : store::statements::PictureColumn::Description;
    const bool containing = suiComboBox2->currentIndex() == 0;
    skin::guarded([&] {
        album::searchPictures(pictureQuery_, column, containing, suiEdit1->text());
        if (afterSearch_)
            afterSearch_();
        accept();
    });
}

void TForm10::suiButton2Click()
{
    reject();
}

// Text and choices stay as they were for the next opening.
void TForm10::FormClose()
{
    suiEdit1->setFocus();
}
