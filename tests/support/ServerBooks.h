#pragma once
// The tests' books on a PostgreSQL server. With TK_TEST_ENGINE=postgresql
// (CTest registers the dataset and page tests a second time so), every
// TempDatabase copies its Data.dat onto a new database on a private server
// of the test process, the program opens that database wherever it would
// open the file, and the test's checks read and write the server.
#include <QString>
#include <QVariantList>

namespace tk::test {

bool testsOnServer();

class ServerBooks {
public:
    // The books of the database file `path`, copied onto the server.
    explicit ServerBooks(const QString &path);
    ~ServerBooks();
    ServerBooks(const ServerBooks &) = delete;
    ServerBooks &operator=(const ServerBooks &) = delete;

    QString address() const { return m_address; }
    // The first column of every row of a statement written for the file.
    QVariantList column(const QString &sql) const;
    void exec(const QString &sql) const;

private:
    QString m_address;
    int m_registration = 0;
};

// A statement the tests wrote for the file, in the server's words (row ids
// become the table's key, typeof() the file's type names).
QString serverCheckStatement(const QString &sql);

} // namespace tk::test
