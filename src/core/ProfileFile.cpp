#include "ProfileFile.h"

#include "Cp1254.h"
#include "core/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QVector>

#include <limits>
#include <optional>

namespace tk {

namespace {

// One physical line: its text and the line break that ended it (empty for a
// last line without one), so untouched lines are written back byte for byte.
struct Line {
    QString text;
    QByteArray eol;
};

struct Document {
    QVector<Line> lines;
    QByteArray eol = "\r\n"; // for lines we add: the file's own style
};

Document parse(const QByteArray &bytes)
{
    Document doc;
    bool styleKnown = false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype nl = bytes.indexOf('\n', start);
        Line line;
        if (nl < 0) {
            line.text = cp1254::decode(QByteArrayView(bytes).sliced(start));
            start = bytes.size();
        } else {
            qsizetype end = nl;
            if (end > start && bytes[end - 1] == '\r')
                --end;
            line.text = cp1254::decode(QByteArrayView(bytes).sliced(start, end - start));
            line.eol = bytes.mid(end, nl + 1 - end);
            if (!styleKnown) {
                doc.eol = line.eol;
                styleKnown = true;
            }
            start = nl + 1;
        }
        doc.lines.append(line);
    }
    return doc;
}

QByteArray serialize(const Document &doc)
{
    QByteArray bytes;
    for (const Line &line : doc.lines) {
        bytes += cp1254::encode(line.text);
        bytes += line.eol;
    }
    return bytes;
}

std::optional<QString> sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

struct KeyLine {
    QString key;
    QString value;
};

std::optional<KeyLine> keyLine(const QString &line)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'['))
        return std::nullopt;
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0)
        return std::nullopt;
    KeyLine k{t.left(eq).trimmed(), t.mid(eq + 1).trimmed()};
    if (k.key.isEmpty())
        return std::nullopt;
    return k;
}

bool sameName(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// Header line of `section`, or -1.
qsizetype findSection(const Document &doc, const QString &section)
{
    for (qsizetype i = 0; i < doc.lines.size(); ++i)
        if (auto name = sectionName(doc.lines[i].text); name && sameName(*name, section))
            return i;
    return -1;
}

// First line after the section's body (the next header or the end).
qsizetype sectionEnd(const Document &doc, qsizetype header)
{
    qsizetype i = header + 1;
    while (i < doc.lines.size() && !sectionName(doc.lines[i].text))
        ++i;
    return i;
}

qsizetype findKey(const Document &doc, qsizetype header, const QString &key)
{
    const qsizetype end = sectionEnd(doc, header);
    for (qsizetype i = header + 1; i < end; ++i)
        if (auto k = keyLine(doc.lines[i].text); k && sameName(k->key, key))
            return i;
    return -1;
}

QString unquote(const QString &value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// The text after '=' that reads back as exactly `value`.
QString storedForm(QString value)
{
    value.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    const bool padded = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    const bool looksQuoted = unquote(value) != value;
    return padded || looksQuoted ? u'"' + value + u'"' : value;
}

std::optional<int> parseInteger(const QString &text)
{
    bool ok = false;
    qlonglong n = 0;
    QString t = text;
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.front() == u'-';
        t.remove(0, 1);
    }
    if (t.startsWith(u'$'))
        n = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        n = t.mid(2).toLongLong(&ok, 16);
    else if (!t.isEmpty() && t.front().isDigit())
        n = t.toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    if (negative)
        n = -n;
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(n);
}

} // namespace

ProfileFile::ProfileFile(const QString &path)
    : m_path(QFileInfo(path).absoluteFilePath())
{
}

namespace {

std::optional<QString> readRaw(const QString &path, const QString &section, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const Document doc = parse(file.readAll());
    const qsizetype header = findSection(doc, section);
    if (header < 0)
        return std::nullopt;
    const qsizetype at = findKey(doc, header, key);
    if (at < 0)
        return std::nullopt;
    return keyLine(doc.lines[at].text)->value;
}

} // namespace

QString ProfileFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const auto raw = readRaw(m_path, section, key);
    return (raw ? unquote(*raw) : defaultValue).left(MaxValueLength);
}

int ProfileFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    const auto raw = readRaw(m_path, section, key);
    if (!raw)
        return defaultValue;
    return parseInteger(unquote(*raw).left(MaxValueLength)).value_or(defaultValue);
}

bool ProfileFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool ProfileFile::keyExists(const QString &section, const QString &key) const
{
    return readRaw(m_path, section, key).has_value();
}

void ProfileFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const Error refused(QStringLiteral("Unable to write to ") + m_path);

    Document doc;
    QFile existing(m_path);
    if (existing.exists()) {
        // Replacing the file by rename would bypass its own write protection.
        if (!existing.open(QIODevice::ReadOnly) || !QFileInfo(m_path).isWritable())
            throw refused;
        doc = parse(existing.readAll());
        existing.close();
    }

    const QString newLine = key + u'=' + storedForm(value);
    const qsizetype header = findSection(doc, section);
    if (header < 0) {
        if (!doc.lines.isEmpty()) {
            if (doc.lines.back().eol.isEmpty())
                doc.lines.back().eol = doc.eol;
            if (!doc.lines.back().text.trimmed().isEmpty())
                doc.lines.append({QString(), doc.eol});
        }
        doc.lines.append({u'[' + section + u']', doc.eol});
        doc.lines.append({newLine, doc.eol});
    } else if (const qsizetype at = findKey(doc, header, key); at >= 0) {
        // Keeps the key's spelling as the file has it.
        doc.lines[at].text = keyLine(doc.lines[at].text)->key + u'=' + storedForm(value);
    } else {
        // After the section's last non-blank line, so a blank line that
        // separates it from the next section stays where it is.
        qsizetype insertAt = header + 1;
        for (qsizetype i = header + 1; i < sectionEnd(doc, header); ++i)
            if (!doc.lines[i].text.trimmed().isEmpty())
                insertAt = i + 1;
        if (doc.lines[insertAt - 1].eol.isEmpty())
            doc.lines[insertAt - 1].eol = doc.eol;
        doc.lines.insert(insertAt, {newLine, doc.eol});
    }

    QSaveFile file(m_path);
    const QByteArray bytes = serialize(doc);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw refused;
}

void ProfileFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void ProfileFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace tk
