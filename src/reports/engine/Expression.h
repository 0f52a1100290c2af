#pragma once
// The expression language of report cells: the parts of a cell's text between
// "[" and the matching "]".
//
//   DBMaas."Maas"  <DBMaas."Maas">       a field of a dataset link's current row
//   SUM(expr, MasterData1)               totals (MIN, MAX, AVG alike; COUNT(band))
//   PAGE#  TOTALPAGES#                   page numbers
//   1.5  'text'  a + b  a - b  a * b  a / b  -a  (a)
#include "Value.h"

#include <QString>
#include <QStringView>
#include <memory>
#include <stdexcept>
#include <vector>

namespace tk::reports {

// An expression that cannot be read; `reason()` says why.
class SyntaxError : public std::runtime_error {
public:
    explicit SyntaxError(const QString &reason)
        : std::runtime_error(reason.toStdString()) {}
    QString reason() const { return QString::fromUtf8(what()); }
};

enum class Aggregate : unsigned char { Sum, Min, Max, Avg, Count };

struct Node {
    enum Kind : unsigned char { Constant, Field, Total, Page, TotalPages, Add, Sub, Mul, Div, Neg };
    Kind kind = Constant;
    Value constant;
    // Field: names as written, resolved by the layout.
    QString link, field;
    int linkIndex = -1, column = -1;
    // Total: the aggregate, its band and its slot among the run's totals.
    Aggregate aggregate = Aggregate::Sum;
    QString band;
    int totalIndex = -1;
    std::unique_ptr<Node> left, right; // operands; Total: left is the inner expression
};

// Throws SyntaxError.
std::unique_ptr<Node> parseExpression(QStringView text);

// What evaluation needs from the running report.
class EvalContext {
public:
    virtual ~EvalContext() = default;
    // `keepNull`: an empty field stays missing (inside totals) instead of
    // turning into 0, empty text or false.
    virtual Value field(const Node &node, bool keepNull) = 0;
    virtual Value total(int index) = 0;
    virtual int page() = 0;
    virtual int totalPages() = 0;
};

// Throws tk::Error for values that cannot be combined.
Value evaluate(const Node &node, EvalContext &context, bool keepNull = false);

// Calls `visit` for every node of the tree, depth first.
template <typename F>
void forEachNode(Node &node, F &&visit)
{
    visit(node);
    if (node.left)
        forEachNode(*node.left, visit);
    if (node.right)
        forEachNode(*node.right, visit);
}

} // namespace tk::reports
