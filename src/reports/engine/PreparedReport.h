#pragma once
// The finished pages of a run: positioned items with their final texts.
//
// Kept compact, since a large stock list gives thousands of pages: an item is
// 16 bytes (its top, text and flags, and the index of its shape: place across,
// size and look, shared by all items of one template cell), texts live in one
// shared buffer, and cell looks (font, alignment, frame, insets) are shared styles. The page-count placeholder
// "[TOTALPAGES#]" stays in the texts until a page is drawn.
#include "Template.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <iterator>
#include <unordered_map>
#include <vector>

namespace tk::reports {

struct ItemStyle {
    QString family;
    std::int16_t sizeUnits = 13;
    bool bold = false, underline = false;
    std::uint32_t color = 0xff000000;     // text colour, or the colour of a line
    Align align = Align::Left;
    std::uint8_t frame = 0;
    float gapX = 2, gapY = 1;
    bool wordWrap = true, clip = true;
    bool operator==(const ItemStyle &) const = default;
};

// An item as readers see it.
struct PreparedItem {
    enum Flag : std::uint8_t { HasTotalPages = 1, Numeric = 2 }; // Numeric: the text shows a number
    float x, y, w, h;                     // units, from the printable area's top left
    std::uint32_t textOffset, textLength; // into the shared text buffer
    std::uint16_t style;
    CellKind kind;
    BandKind band;                        // the kind of band that printed it
    std::uint8_t flags;
};

// What every item of one template cell has in common: its place across, its
// size and its look. Kept once; an item names it.
struct ItemShape {
    float x, w, h;
    std::uint16_t style;
    CellKind kind;
    BandKind band;
    bool operator==(const ItemShape &) const = default;
};

// An item as kept: 16 bytes.
struct StoredItem {
    float y;
    std::uint32_t textOffset, textLength;
    std::uint16_t shape;
    std::uint8_t flags;
};
static_assert(sizeof(StoredItem) == 16);

// The items of a prepared report, read as whole PreparedItems.
class ItemList {
public:
    ItemList(const std::vector<StoredItem> &items, const std::vector<ItemShape> &shapes)
        : m_items(items), m_shapes(shapes) {}
    PreparedItem operator[](size_t index) const
    {
        const StoredItem &i = m_items[index];
        const ItemShape &s = m_shapes[i.shape];
        return {s.x, i.y, s.w, s.h, i.textOffset, i.textLength, s.style, s.kind, s.band, i.flags};
    }
    size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }

    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = PreparedItem;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = PreparedItem;
        const_iterator(const ItemList *list, size_t index) : m_list(list), m_index(index) {}
        PreparedItem operator*() const { return (*m_list)[m_index]; }
        const_iterator &operator++()
        {
            ++m_index;
            return *this;
        }
        bool operator==(const const_iterator &o) const { return m_index == o.m_index; }

    private:
        const ItemList *m_list;
        size_t m_index;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, m_items.size()}; }

private:
    const std::vector<StoredItem> &m_items;
    const std::vector<ItemShape> &m_shapes;
};

struct PreparedPage {
    std::uint32_t setup;                  // index into setups()
    std::uint32_t firstItem, itemCount;
};

class PreparedReport {
public:
    static inline const QString kTotalPagesPlaceholder = QStringLiteral("[TOTALPAGES#]");

    void clear();
    int pageCount() const { return int(m_pages.size()); }
    // Pages whose layout is complete (the last one may still be filling).
    int finishedPageCount() const { return m_finished; }
    const PreparedPage &page(int index) const { return m_pages[size_t(index)]; }
    const PageSetup &setup(int page) const { return m_setups[m_pages[size_t(page)].setup]; }
    const std::vector<PageSetup> &setups() const { return m_setups; }
    const std::vector<ItemStyle> &styles() const { return m_styles; }
    ItemList items() const { return {m_items, m_shapes}; }
    const std::vector<PreparedPage> &pages() const { return m_pages; }
    const QString &textBuffer() const { return m_text; }
    QStringView text(const PreparedItem &item) const
    {
        return QStringView(m_text).mid(item.textOffset, item.textLength);
    }
    // The text as drawn: the placeholder replaced by `pageCount`.
    QString finalText(const PreparedItem &item, int pageCount) const;

    // --- building ------------------------------------------------------------
    int addSetup(const PageSetup &setup);   // shared: equal setups give one index
    int addStyle(const ItemStyle &style);   // shared likewise
    void startPage(int setup);
    void finishPage() { m_finished = pageCount(); }
    // Gives back what the buffers hold beyond their contents (at the end of a run).
    void squeeze();
    // Stores a text; returns its offset.
    std::uint32_t addText(QStringView text);
    void addItem(const PreparedItem &item);
    // Page setup of one page (the page setup dialog's "current page").
    void setPageSetup(int page, const PageSetup &setup);

    // Bytes held (items, texts, pages, styles): for the benchmark.
    std::size_t memoryBytes() const;

    // Raw replacement, used by the file reader after it has checked everything.
    void assign(std::vector<PageSetup> setups, std::vector<ItemStyle> styles,
                std::vector<PreparedPage> pages, std::vector<PreparedItem> items, QString text);

private:
    std::vector<PageSetup> m_setups;
    std::vector<ItemStyle> m_styles;
    std::uint16_t shapeOf(const PreparedItem &item);
    void store(const PreparedItem &item);

    struct ShapeHash {
        size_t operator()(const ItemShape &s) const noexcept;
    };
    std::vector<PreparedPage> m_pages;
    std::vector<ItemShape> m_shapes;
    std::unordered_map<ItemShape, std::uint16_t, ShapeHash> m_shapeIndex; // while building
    std::vector<StoredItem> m_items;
    QString m_text;
    int m_finished = 0;
};

} // namespace tk::reports
