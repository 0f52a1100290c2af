#pragma once
// Edit boxes bound to one field of a dataset: they show the current row's
// value and hand what the user types to the dataset (which starts editing).
#include "Dataset.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

namespace tk {

class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    DBEdit(Dataset *dataset, const QString &field, QWidget *parent = nullptr);
    Dataset *dataset() const { return m_dataset; }
    QString field() const { return m_field; }
    // A box that shows a computed field: never typed into, even while the dataset is open.
    void setAlwaysReadOnly(bool on);

private:
    void refresh();

    QPointer<Dataset> m_dataset;
    QString m_field;
    bool m_typing = false;
    bool m_alwaysReadOnly = false;
};

class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    DBMemo(Dataset *dataset, const QString &field, QWidget *parent = nullptr);
    Dataset *dataset() const { return m_dataset; }
    QString field() const { return m_field; }

private:
    void refresh();

    QPointer<Dataset> m_dataset;
    QString m_field;
    bool m_updating = false;
    bool m_typing = false;
};

class DBCheckBox : public QCheckBox {
    Q_OBJECT
public:
    DBCheckBox(Dataset *dataset, const QString &field, const QString &caption, QWidget *parent = nullptr);

private:
    void refresh();

    QPointer<Dataset> m_dataset;
    QString m_field;
    bool m_updating = false;
};

} // namespace tk
