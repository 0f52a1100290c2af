#include "Expression.h"

#include "Format.h"
#include "core/Error.h"

namespace tk::reports {

namespace {

class Parser {
public:
    explicit Parser(QStringView text) : m_text(text) {}

    std::unique_ptr<Node> parse()
    {
        auto node = sum();
        skipBlanks();
        if (m_pos < m_text.size())
            throw SyntaxError(QStringLiteral("beklenmeyen '%1'").arg(m_text.at(m_pos)));
        return node;
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }
    bool accept(QChar c)
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text.at(m_pos) == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    void expect(QChar c)
    {
        if (!accept(c))
            throw SyntaxError(m_pos >= m_text.size() ? QStringLiteral("'%1' bekleniyor, ifade bitti").arg(c)
                                                    : QStringLiteral("'%1' bekleniyor").arg(c));
    }
    static std::unique_ptr<Node> binary(Node::Kind kind, std::unique_ptr<Node> l, std::unique_ptr<Node> r)
    {
        auto n = std::make_unique<Node>();
        n->kind = kind;
        n->left = std::move(l);
        n->right = std::move(r);
        return n;
    }

    std::unique_ptr<Node> sum()
    {
        auto node = product();
        for (;;) {
            if (accept(QLatin1Char('+')))
                node = binary(Node::Add, std::move(node), product());
            else if (accept(QLatin1Char('-')))
                node = binary(Node::Sub, std::move(node), product());
            else
                return node;
        }
    }
    std::unique_ptr<Node> product()
    {
        auto node = unary();
        for (;;) {
            if (accept(QLatin1Char('*')))
                node = binary(Node::Mul, std::move(node), unary());
            else if (accept(QLatin1Char('/')))
                node = binary(Node::Div, std::move(node), unary());
            else
                return node;
        }
    }
    std::unique_ptr<Node> unary()
    {
        if (accept(QLatin1Char('-')))
            return binary(Node::Neg, unary(), nullptr);
        return primary();
    }

    QString identifier()
    {
        skipBlanks();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size()
               && (m_text.at(m_pos).isLetterOrNumber() || m_text.at(m_pos) == QLatin1Char('_')))
            ++m_pos;
        if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('#') && m_pos > start)
            ++m_pos;
        return m_text.mid(start, m_pos - start).toString();
    }

    QString quoted(QChar quote)
    {
        QString out;
        for (;;) {
            if (m_pos >= m_text.size())
                throw SyntaxError(QStringLiteral("kapanmayan tırnak"));
            const QChar c = m_text.at(m_pos++);
            if (c == quote) {
                if (m_pos < m_text.size() && m_text.at(m_pos) == quote) { // doubled quote
                    out += c;
                    ++m_pos;
                    continue;
                }
                return out;
            }
            out += c;
        }
    }

    std::unique_ptr<Node> fieldAfterLink(const QString &link)
    {
        auto n = std::make_unique<Node>();
        n->kind = Node::Field;
        n->link = link;
        skipBlanks();
        if (accept(QLatin1Char('"')))
            n->field = quoted(QLatin1Char('"'));
        else
            n->field = identifier();
        if (n->field.isEmpty())
            throw SyntaxError(QStringLiteral("alan adı bekleniyor"));
        return n;
    }

    std::unique_ptr<Node> primary()
    {
        skipBlanks();
        if (m_pos >= m_text.size())
            throw SyntaxError(QStringLiteral("ifade eksik"));
        const QChar c = m_text.at(m_pos);
        if (c == QLatin1Char('(')) {
            ++m_pos;
            auto node = sum();
            expect(QLatin1Char(')'));
            return node;
        }
        if (c == QLatin1Char('<')) {
            ++m_pos;
            const QString link = identifier();
            if (link.isEmpty())
                throw SyntaxError(QStringLiteral("veri bağlantısı adı bekleniyor"));
            expect(QLatin1Char('.'));
            auto node = fieldAfterLink(link);
            expect(QLatin1Char('>'));
            return node;
        }
        if (c == QLatin1Char('\'')) {
            ++m_pos;
            auto n = std::make_unique<Node>();
            n->constant = Value::ofText(quoted(QLatin1Char('\'')));
            return n;
        }
        if (c.isDigit()) {
            const qsizetype start = m_pos;
            while (m_pos < m_text.size() && (m_text.at(m_pos).isDigit() || m_text.at(m_pos) == QLatin1Char('.')))
                ++m_pos;
            bool ok = false;
            const double v = m_text.mid(start, m_pos - start).toString().toDouble(&ok);
            if (!ok)
                throw SyntaxError(QStringLiteral("geçersiz sayı"));
            auto n = std::make_unique<Node>();
            n->constant = Value::ofNumber(v);
            return n;
        }
        const QString name = identifier();
        if (name.isEmpty())
            throw SyntaxError(QStringLiteral("beklenmeyen '%1'").arg(c));
        const QString upper = name.toUpper();
        if (upper == QLatin1String("PAGE#") || upper == QLatin1String("TOTALPAGES#")) {
            auto n = std::make_unique<Node>();
            n->kind = upper == QLatin1String("PAGE#") ? Node::Page : Node::TotalPages;
            return n;
        }
        if (accept(QLatin1Char('.')))
            return fieldAfterLink(name);
        if (accept(QLatin1Char('(')))
            return call(upper);
        throw SyntaxError(QStringLiteral("bilinmeyen ad %1").arg(name));
    }

    std::unique_ptr<Node> call(const QString &function)
    {
        static const struct { const char *name; Aggregate aggregate; } kAggregates[] = {
            {"SUM", Aggregate::Sum}, {"MIN", Aggregate::Min}, {"MAX", Aggregate::Max},
            {"AVG", Aggregate::Avg}, {"COUNT", Aggregate::Count},
        };
        auto n = std::make_unique<Node>();
        n->kind = Node::Total;
        bool known = false;
        for (const auto &a : kAggregates)
            if (function == QLatin1String(a.name)) {
                n->aggregate = a.aggregate;
                known = true;
            }
        if (!known)
            throw SyntaxError(QStringLiteral("bilinmeyen işlev %1").arg(function));
        if (n->aggregate != Aggregate::Count) {
            n->left = sum();
            expect(QLatin1Char(','));
        }
        n->band = identifier();
        if (n->band.isEmpty())
            throw SyntaxError(QStringLiteral("bant adı bekleniyor"));
        while (accept(QLatin1Char(','))) // further options are accepted and ignored
            sum();
        expect(QLatin1Char(')'));
        return n;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

double asNumber(const Value &v)
{
    switch (v.kind) {
    case Value::Null: return 0;
    case Value::Number:
    case Value::Bool:
    case Value::Date: return v.number;
    case Value::Text: {
        if (v.text.isEmpty())
            return 0;
        double d = 0;
        if (parseTurkishNumber(v.text, &d))
            return d;
        throw Error(QStringLiteral("'%1' sayıya çevrilemiyor").arg(v.text));
    }
    }
    return 0;
}

} // namespace

std::unique_ptr<Node> parseExpression(QStringView text)
{
    return Parser(text).parse();
}

Value evaluate(const Node &node, EvalContext &context, bool keepNull)
{
    switch (node.kind) {
    case Node::Constant: return node.constant;
    case Node::Field: return context.field(node, keepNull);
    case Node::Total: return context.total(node.totalIndex);
    case Node::Page: return Value::ofNumber(context.page());
    case Node::TotalPages: return Value::ofNumber(context.totalPages());
    case Node::Neg: return Value::ofNumber(-asNumber(evaluate(*node.left, context)));
    case Node::Add: {
        const Value l = evaluate(*node.left, context);
        const Value r = evaluate(*node.right, context);
        // Text joins text, as the templates' labels expect; numbers add.
        if ((l.kind == Value::Text || r.kind == Value::Text)
            && !(l.kind == Value::Number || r.kind == Value::Number))
            return Value::ofText(valueText(l) + valueText(r));
        return Value::ofNumber(asNumber(l) + asNumber(r));
    }
    case Node::Sub:
        return Value::ofNumber(asNumber(evaluate(*node.left, context)) - asNumber(evaluate(*node.right, context)));
    case Node::Mul:
        return Value::ofNumber(asNumber(evaluate(*node.left, context)) * asNumber(evaluate(*node.right, context)));
    case Node::Div: {
        const double d = asNumber(evaluate(*node.right, context));
        if (d == 0)
            throw Error(QStringLiteral("sıfıra bölme"));
        return Value::ofNumber(asNumber(evaluate(*node.left, context)) / d);
    }
    }
    return {};
}

} // namespace tk::reports
