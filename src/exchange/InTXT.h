// The import dialog: replaces the whole materials book by the contents of an exchange file.
// Choosing the file reads and tests it at once; the import works on the lines read then.
#pragma once

#include "ExchangeFile.h"
#include "TransferDialog.h"

class QLabel;

class TForm16 : public exchange::TransferDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 384;
    static constexpr int kClientHeight = 200;

    // An import replaces the text query's rows, then refreshes the title list.
    TForm16(exchange::RefreshTitles refreshTitles, store::Query& textQuery,
            QWidget* parent = nullptr);

private:
    void suiButton1Click() override;  // 浏览
    void suiButton2Click() override;  // 导入(&I)
    void FormClose() override;

    exchange::ExchangeFile chosenFile_;  // the line buffer: the file as it was when chosen

    QLabel* Label1 = nullptr;
    TsuiEdit* suiEdit2 = nullptr;  // the chosen file's time stamp
};
