#pragma once
// A client-side static cursor over one table: open reads the keys of its
// statement's rows, in order, the user moves, edits and saves rows, and the
// controls bound to it follow its signals.
//
// Only the keys stay (8 bytes a row); the rows themselves are read from the
// store in windows as something reads them, a bounded number of windows
// kept, so that start-up and memory do not grow with the years of records.
// Rows are kept compact (one byte buffer per row, a cell decoded only when
// something reads it).
#include "Connection.h"
#include "Field.h"
#include "Store.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace tk {

class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Hook = std::function<void(Dataset &)>;

    // Rows in a window, and windows kept: what one lookup reads, and the most
    // a dataset holds besides its keys.
    static constexpr int kWindowRows = 64;
    static constexpr int kWindowsKept = 32;

    // `table` is the one table the statement reads and the one rows are written to.
    Dataset(Store *store, const QString &name, const QString &table, const QString &sql, QObject *parent = nullptr);
    // On a Data.dat connection owned elsewhere.
    Dataset(Connection *connection, const QString &name, const QString &table,
            const QString &sql, QObject *parent = nullptr);
    ~Dataset() override;

    QString name() const { return objectName(); }
    QString table() const { return m_table; }
    Store *store() const { return m_store; }
    // Forgets the store (it is about to be destroyed): the dataset closes
    // and stays closed; reads answer as for a closed dataset.
    void detachConnection();

    // --- statement ---------------------------------------------------------
    QString sql() const { return m_sql; }
    // Replaces the statement (with its positional parameters) and reads its
    // rows; a changed row here or in a detail is saved first, as leaving it.
    void setSql(const QString &sql, const QVariantList &params = {});
    // Re-runs the statement with its ORDER BY replaced by `orderByTerm` (empty:
    // the statement's own order). The statement, its parameters and the master
    // link stay; the current row stays by its key where it is still there.
    // The order lasts through later statements until it is set again.
    void setSortOrder(const QString &orderByTerm);
    QString sortOrder() const { return m_sortOrder; }

    // --- open / close ------------------------------------------------------
    void open();
    // Opens without reading the keys: the columns are known at once, the keys
    // are read by the first thing that reads rows, moves or edits (or by
    // readKeys), so that the datasets of pages not yet shown cost nothing at
    // start. A detail opened so waits for its master the same way.
    void openOnFirstRead();
    bool keysRead() const { return !m_keysLater; }
    // Reads the keys of a dataset opened on first read; nothing otherwise.
    void readKeys() const;
    void close();   // drops any edit without saving
    void refresh(); // re-runs the statement, keeping the current row index where possible
    // Re-runs the statement keeping the current row by its key (another desk
    // may have added or removed rows before it); the details keep theirs.
    void reload();
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
    int currentRow() const; // 0-based, -1 when empty
    int recNo() const;      // 1-based, 0 when empty
    bool bof() const;
    bool eof() const;
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
    // The same rule for the rows the details are editing, before this dataset moves or closes.
    void settleDetails();

    // --- other desks ---------------------------------------------------------
    // A save writes the row only while it still holds the values it was read
    // with at edit(); otherwise it throws SaveConflict and the typed values
    // stay pending. What the refused save found:
    enum class Conflict { None, Changed, Deleted };
    Conflict conflict() const { return m_conflict; }
    // The row as the other desk left it, read when the save was refused
    // (invalid for a deleted row, or without a conflict).
    QVariant valueElsewhere(const QString &field) const;
    // The fields the other desk changed since the row was read at edit().
    QStringList fieldsChangedElsewhere() const;
    // After a refused save: writes the typed values over the other desk's,
    // provided the row still holds what the refusal found. A row deleted
    // elsewhere stays refused.
    void overwrite();
    // The key of the current row; -1 for a new row or none.
    qint64 currentKey() const;
    // Editing here or in a detail: a reload would disturb the typing.
    bool isEditingHereOrBelow() const;

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
    void rowsReset();                      // rows were reloaded; views start afresh (currentChanged follows)
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
    bool masterGone() const;
    void requireOpen(const char *what) const;
    void setCurrent(int row);
    void masterMoved();
    QVariant storedValue(int row, int column) const;
    QVariant pendingValue(int column) const; // parsed value of a pending edit
    // The saved row `row`, read with its window when not kept.
    const QByteArray &packedRow(int row) const;
    void readWindow(int row) const;
    void keepWindow(const qint64 *keys, std::vector<QByteArray> &rows, int count) const;
    void forgetRows();
    void writeRow(bool overwrite); // INSERT or UPDATE from the pending edits
    void postRow(bool overwrite);
    [[noreturn]] void refuseSave(qint64 key);
    QVector<ExpectedValue> expectedValues(const QByteArray &row) const;
    void setState(State s);
    int checkedField(const QString &field) const;

    std::unique_ptr<Store> m_ownStore; // the store over a connection handed in
    Store *m_store;
    QString m_table;
    QString m_sql;
    QVariantList m_params;
    QString m_sortOrder; // ORDER BY term in place of the statement's own
    State m_state = State::Inactive;
    QVector<FieldDef> m_fields;
    std::vector<qint64> m_keys;      // every row's key, in order (-1: the new row, or not writable)
    bool m_writable = true;
    bool m_keysLater = false;        // open, its keys not read yet
    std::vector<QByteArray> m_whole; // the rows of a statement that cannot be written back
    QByteArray m_newRow;             // the new row's saved values: none yet
    // Rows read, by key, each with the window that read it; windows in the
    // order of their last use, the oldest first.
    struct Kept {
        QByteArray row;
        quint32 window;
    };
    struct Window {
        quint32 serial;
        std::vector<qint64> keys;
    };
    mutable std::unordered_map<qint64, Kept> m_kept;
    mutable std::vector<Window> m_windows;
    mutable quint32 m_nextWindow = 0;
    mutable int m_lastWindowRead = -1; // where the last read was: the direction of travel
    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;
    // edit buffer of the current row
    QVector<std::optional<Pending>> m_pending;
    bool m_modified = false;
    int m_insertRow = -1; // index of the new row while inserting
    QByteArray m_editBase;     // the row as read at edit(): what a save expects to find
    Conflict m_conflict = Conflict::None;
    QByteArray m_conflictRow;  // the row as a refused save found it
    qint64 m_keepKey = -1;     // the row the next load makes current, if still there

    QPointer<Dataset> m_master;
    QString m_linkField;
    QMetaObject::Connection m_masterLink;
    QVector<QPointer<Dataset>> m_details;
};

} // namespace tk
