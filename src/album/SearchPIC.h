// The search-pictures dialog: replaces the album's rows by the records whose name or
// description contains or equals a text.
#pragma once

#include "skin/TsuiDialog.h"
#include "store/Statements.h"

#include <functional>

class QLabel;
class TsuiButton;
class TsuiComboBox;
class TsuiEdit;

namespace store {
class Query;
}

namespace album {
// Reopens the picture query on the matching records, the text taken exactly as typed (a % typed
// in the containing mode stays a wildcard). On an empty result the query still moves to its
// first record, so the after-scroll refresh shows an empty album.
// When the store refuses the search, the query keeps the records it showed.
void searchPictures(store::Query& pictureQuery, store::statements::PictureColumn column,
                    bool containing, const QString& text);
}

class TForm10 : public TsuiDialog {
    Q_OBJECT
public:
    TForm10(QWidget* owner, store::Query& pictureQuery);

    // Runs after every search: the album pane's grid and the thumbnail window follow the result.
    void setAfterSearch(std::function<void()> afterSearch) { afterSearch_ = std::move(afterSearch); }

private:
    void suiButton1Click();  // 搜索(&S)
    void suiButton2Click();  // 关闭(&C)
    void FormClose() override;

    store::Query& pictureQuery_;
    std::function<void()> afterSearch_;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    TsuiComboBox* suiComboBox1;  // 图片名称 / 图片描述
    TsuiComboBox* suiComboBox2;  // 包含 / 等于
    TsuiEdit* suiEdit1;
    TsuiButton* suiButton1;
    TsuiButton* suiButton2;
};
