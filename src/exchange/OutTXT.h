// The export dialog: writes the whole materials book to an exchange file the user names.
#pragma once

#include "TransferDialog.h"

class TForm15 : public exchange::TransferDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 384;
    static constexpr int kClientHeight = 184;

    // Every export refreshes the title list and reads the entries through the text query.
    TForm15(exchange::RefreshTitles refreshTitles, store::Query& textQuery,
            QWidget* parent = nullptr);

private:
    void suiButton1Click() override;  // 浏览
    void suiButton2Click() override;  // 导出(&O)
};
