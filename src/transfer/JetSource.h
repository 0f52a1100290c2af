#pragma once
// The old program's books: a Jet 3 or Jet 4 file, read with mdbtools' libmdb.
// The file is opened read-only and never written.
#include "JetSignature.h"
#include "RecordSource.h"

#include <memory>

typedef struct S_MdbTableDef MdbTableDef;

namespace tk {

class JetSource : public RecordSource {
public:
    // Throws tk::Error with the reason when the file cannot be read as a Jet file.
    explicit JetSource(const QString &path);
    ~JetSource() override;
    JetSource(const JetSource &) = delete;
    JetSource &operator=(const JetSource &) = delete;

    JetVersion version() const { return m_version; }

    QVector<SourceTable> tables() override;
    void readRows(const SourceTable &table, const QVector<int> &columns, const RowSink &row) override;

private:
    struct Handle;
    using Table = std::unique_ptr<MdbTableDef, void (*)(MdbTableDef *)>;
    Table openTable(const QString &name) const;
    JetVersion m_version = JetVersion::None;
    std::unique_ptr<Handle> m_handle;
    QVector<SourceTable> m_tables;
};

} // namespace tk
