#pragma once
// The shape shared by the invoice and account pages: an entry sheet with its
// tool bar, the entry's boxes, the VAT block ("Kdv Ekle", the read-only VAT
// box, "Hesapla" and a hidden field that rounds the VAT) and the entry list,
// on a single tab "FATURALAR".
#include "pages/RecordPage.h"

class QPushButton;
class QTabWidget;

namespace tk {

class TQiroEdit;

struct VatSheetDef {
    QString toolBar;        // ToolBarN of the entries
    QString dataset;        // the entries
    QVector<BoxPlace> boxes; // in tab order, the total ("Toplam") among them
    QString vatBox;         // DBEditN bound to Kdv, beside the check box
    QString checkBox;       // DBCheckBoxN
    QString checkField;     // the field the check box is bound to
    QString computeButton;  // ButtonN, "Hesapla"
    QString vatField;       // the hidden field rounding the VAT
    QString list;           // SrDBGridN of the entries
};

class VatEntryPage : public RecordPage {
    Q_OBJECT
protected:
    using RecordPage::RecordPage;

    struct VatSheet {
        QTabWidget *panel = nullptr;  // the single tab holding the sheet
        QWidget *sheet = nullptr;
        QGridLayout *grid = nullptr;  // label and box column pairs 0 and 1; the VAT block in column 4
        QVector<DBEdit *> boxes;      // as listed in the definition
        DBEdit *vat = nullptr;
        DBCheckBox *addVat = nullptr;
        QPushButton *compute = nullptr;
    };
    // Builds the sheet; a click on "Hesapla" runs `compute` (errors shown).
    VatSheet buildVatSheet(const VatSheetDef &def, std::function<void()> compute);

    // Whether "Kdv Ekle" is ticked.
    bool addsVat() const;
    // The VAT rate of the settings, read now (a change in the settings counts
    // at once) when `addVat`; 0 otherwise.
    double vatRateFor(bool addVat) const;
    // Stores the computed VAT: the hidden field takes it; the row's Kdv too
    // when `addVat`, "0,00" otherwise.
    void storeVat(Dataset &row, bool addVat, double kdv) const;

private:
    DBCheckBox *m_addVat = nullptr;
    TQiroEdit *m_vatField = nullptr;
};

} // namespace tk
