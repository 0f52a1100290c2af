#pragma once
// A client-side static cursor over one table: open loads every row of its
// statement into memory, the user moves, edits and saves rows, and the
// controls bound to it follow its signals.
//
// Rows are kept compact (one byte buffer per row, a cell decoded only when
// something reads it), so that a table of 100 000 rows opens fast and small.
#include "Connection.h"
#include "Field.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <optional>
#include <vector>

namespace tk {

class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Hook = std::function<void(Dataset &)>;

    // `table` is the one table the statement reads and the one rows are written to.
    Dataset(Connection *connection, const QString &name, const QString &table,
            const QString &sql, QObject *parent = nullptr);
    ~Dataset() override;

    QString name() const { return objectName(); }
    QString table() const { return m_table; }
    Connection *connection() const { return m_connection; }
    // Forgets the connection (it is about to be destroyed): the dataset closes
    // and stays closed; reads answer as for a closed dataset.
    void detachConnection();

    // --- statement ---------------------------------------------------------
    QString sql() const { return m_sql; }
    // Closes, replaces the statement (with its positional parameters) and opens.
    void setSql(const QString &sql, const QVariantList &params = {});
    // Re-runs the statement with its ORDER BY replaced by `orderByTerm` (empty:
    // the statement's own order). The statement, its parameters and the master
    // link stay; the current row stays by its key where it is still there.
    // The order lasts through later statements until it is set again.
    void setSortOrder(const QString &orderByTerm);
    QString sortOrder() const { return m_sortOrder; }

    // --- open / close ------------------------------------------------------
    void open();
    void close();   // drops any edit without saving
    void refresh(); // re-runs the statement, keeping the current row index where possible
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    // True while a row is being edited or inserted and a field was changed.
    bool isModified() const { return isEditing() && m_modified; }

    // --- fields -------------------------------------------------------------
    const QVector<FieldDef> &fields() const { return m_fields; }
    int fieldIndex(const QString &name) const; // -1 when missing (case-insensitive)
    FieldKind fieldKind(const QString &name) const;

    // --- rows and navigation -------------------------------------------------
    int rowCount() const;       // the new row of an insert counts
    int currentRow() const { return m_current; } // 0-based, -1 when empty
    int recNo() const { return m_current + 1; }  // 1-based, 0 when empty
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    bool isEmpty() const { return rowCount() == 0; }

    void first();
    void prior();
    void next();
    void last();
    // Moves by `distance` rows (clamped); returns how many rows it really moved.
    int moveBy(int distance);
    void moveTo(int row);

    // --- reading -------------------------------------------------------------
    // Current row (with the user's pending edits).
    QVariant value(const QString &field) const;
    QString text(const QString &field) const; // display form; pending typing as typed
    bool isNull(const QString &field) const;
    double asDouble(const QString &field) const; // null → 0
    // Any row without moving (saved values only; the row being edited shows its edits).
    QVariant valueAt(int row, int column) const;
    QString textAt(int row, int column) const;

    // --- editing -------------------------------------------------------------
    void edit();   // browse → edit (no-op when already editing)
    void append(); // new empty row at the end, in insert state
    // Sets a field from a value; starts editing when browsing.
    void setValue(const QString &field, const QVariant &value);
    // Sets a field from typed text, kept as typed until post parses it.
    void setText(const QString &field, const QString &text);
    void post();   // saves the current row: one statement, then after-post hook
    void cancel(); // drops the changes; a new row disappears
    void remove(); // deletes the current row (a new row is only dropped)
    // The rule for leaving a row: post when changed, otherwise drop the edit.
    void checkBrowseMode();

    // --- hooks ---------------------------------------------------------------
    Hook beforePost;
    Hook afterPost;

    // --- master/detail -------------------------------------------------------
    // This dataset follows `master`: its statement has one positional parameter
    // bound to the master's current `linkField`, re-run on every change of the
    // master's current row; appended rows get that value stamped.
    void setMaster(Dataset *master, const QString &linkField = QStringLiteral("SiraNo"));
    Dataset *master() const { return m_master; }

signals:
    void currentChanged(int row);          // the current row moved (or rows were reloaded)
    void stateChanged(tk::Dataset::State state);
    void fieldChanged(const QString &field); // a field of the current row changed
    void rowsReset();                      // rows were reloaded; views start afresh
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowUpdated(int row);
    // A row was saved to or deleted from the table (the books changed).
    void tableWritten();
    void sortOrderChanged(const QString &orderByTerm);

private:
    struct Cell;
    struct Pending {
        bool isText = false;
        QString text;
        QVariant value;
    };

    void load();
    void requireOpen(const char *what) const;
    void setCurrent(int row);
    void masterMoved();
    QVariant storedValue(int row, int column) const;
    QVariant pendingValue(int column) const; // parsed value of a pending edit
    QByteArray readRow(void *stmt) const;
    void writeRow(); // INSERT or UPDATE from the pending edits
    void setState(State s);
    void settleDetails();
    int checkedField(const QString &field) const;

    Connection *m_connection;
    QString m_table;
    QString m_sql;
    QVariantList m_params;
    QString m_sortOrder; // ORDER BY term in place of the statement's own
    State m_state = State::Inactive;
    QVector<FieldDef> m_fields;
    std::vector<QByteArray> m_rows; // packed cells of each saved row
    std::vector<qint64> m_rowIds;
    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;
    // edit buffer of the current row
    QVector<std::optional<Pending>> m_pending;
    bool m_modified = false;
    int m_insertRow = -1; // index of the new row while inserting

    QPointer<Dataset> m_master;
    QString m_linkField;
    QMetaObject::Connection m_masterLink;
    QVector<QPointer<Dataset>> m_details;
};

} // namespace tk
