#include "Search.h"

#include "TitleList.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Statements.h"

#include <QLabel>

namespace book {

void searchTitles(TitleList& titles, store::Query& textQuery, const QString& text, bool fuzzy)
{
    textQuery.setStatement(fuzzy ? store::statements::fuzzyTitleSearch(text)
                                 : store::statements::exactTitleSearch(text));
    textQuery.open();
    titles.fillFrom(textQuery);
    if (titles.count() > 0)
        titles.select(0);
}

} // namespace book

TForm4::TForm4(QWidget* owner, book::TitleList& titles, store::Query& textQuery)
    : TsuiDialog(owner, 288, 160, QStringLiteral("搜索标题")), titles_(titles), textQuery_(textQuery)
{
    Label1 = new QLabel(QStringLiteral("搜索内容："), suiForm1);
    Label1->setGeometry(24, 50, 70, 16);
    suiEdit1 = new TsuiEdit(suiForm1);
    suiEdit1->setGeometry(94, 47, 170, 21);
    suiCheckBox1 = new TsuiCheckBox(QStringLiteral("模糊搜索"), suiForm1);
    suiCheckBox1->setGeometry(94, 80, 100, 18);
    suiCheckBox1->setChecked(true);
    suiButton1 = new TsuiButton(QStringLiteral("确定(&O)"), suiForm1);
    suiButton1->setGeometry(56, 116, 72, 25);
    suiButton1->setDefault(true);
    suiButton2 = new TsuiButton(QStringLiteral("取消(&C)"), suiForm1);
    suiButton2->setGeometry(160, 116, 72, 25);
    suiButton2->setAutoDefault(false);
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    connect(suiButton1, &QPushButton::clicked, this, &TForm4::suiButton1Click);
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    connect(suiButton2, &QPushButton::clicked, this, &TForm4::suiButton2Click);
}

void TForm4::suiButton1Click()
{
    skin::guarded([this] {
        book::searchTitles(titles_, textQuery_, suiEdit1->text(), suiCheckBox1->isChecked());
        accept();
    });
}

void TForm4::suiButton2Click()
{
    reject();
}

// Every way of closing leaves the focus on the search field; text and check box are kept.
void TForm4::FormClose()
{
    suiEdit1->setFocus();
}
