#pragma once
// The small dialogs of the preview window: find, page setup, export options.
#include "reports/engine/Template.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace tk::reports {

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget *parent);
    QString text() const;
    bool caseSensitive() const;
    bool fromStart() const;
    QLineEdit *textBox() const { return m_text; }

private:
    QLineEdit *m_text;
    QCheckBox *m_case, *m_fromStart;
};

class PageSetupDialog : public QDialog {
    Q_OBJECT
public:
    PageSetupDialog(QWidget *parent, const PageSetup &setup);
    PageSetup setup() const;
    bool applyToAll() const;

private:
    void paperChosen(int index);
    QComboBox *m_paper;
    QDoubleSpinBox *m_width, *m_height, *m_left, *m_top, *m_right, *m_bottom;
    QRadioButton *m_portrait, *m_landscape, *m_current, *m_all;
};

struct ExportChoice {
    enum Range { All, Current, List } range = All;
    QString list;             // "1,3,5-12"
    std::vector<bool> checks; // the format's check boxes, in their order
    int quality = 90, dpi = 96;
};

class ExportOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // `checks`: caption, initial state, whether the writer offers it.
    struct Check {
        QString caption;
        bool checked;
        bool available;
    };
    ExportOptionsDialog(QWidget *parent, const QString &caption, const std::vector<Check> &checks, bool jpeg);
    ExportChoice choice() const;

private:
    QRadioButton *m_all, *m_current, *m_list;
    QLineEdit *m_pages;
    std::vector<QCheckBox *> m_checks;
    QSpinBox *m_quality = nullptr, *m_dpi = nullptr;
};

} // namespace tk::reports
