#include "PreparedReport.h"

#include "core/Error.h"

#include <cstring>

namespace tk::reports {

void PreparedReport::clear()
{
    m_setups.clear();
    m_styles.clear();
    m_pages.clear();
    m_shapes.clear();
    m_shapeIndex.clear();
    m_items.clear();
    m_text.clear();
    m_finished = 0;
}

QString PreparedReport::finalText(const PreparedItem &item, int pageCount) const
{
    QString t = text(item).toString();
    if (item.flags & PreparedItem::HasTotalPages)
        t.replace(kTotalPagesPlaceholder, QString::number(pageCount), Qt::CaseInsensitive);
    return t;
}

int PreparedReport::addSetup(const PageSetup &setup)
{
    for (size_t i = 0; i < m_setups.size(); ++i)
        if (m_setups[i] == setup)
            return int(i);
    m_setups.push_back(setup);
    return int(m_setups.size() - 1);
}

int PreparedReport::addStyle(const ItemStyle &style)
{
    for (size_t i = 0; i < m_styles.size(); ++i)
        if (m_styles[i] == style)
            return int(i);
    m_styles.push_back(style);
    return int(m_styles.size() - 1);
}

void PreparedReport::startPage(int setup)
{
    m_pages.push_back({std::uint32_t(setup), std::uint32_t(m_items.size()), 0});
}

std::uint32_t PreparedReport::addText(QStringView text)
{
    const auto offset = std::uint32_t(m_text.size());
    m_text.append(text);
    return offset;
}

size_t PreparedReport::ShapeHash::operator()(const ItemShape &s) const noexcept
{
    std::uint32_t x, w;
    std::memcpy(&x, &s.x, 4);
    std::memcpy(&w, &s.w, 4);
    return (size_t(x) * 0x9E3779B97F4A7C15ull) ^ (size_t(w) << 17) ^ (size_t(s.style) << 5) ^ size_t(s.band);
}

std::uint16_t PreparedReport::shapeOf(const PreparedItem &item)
{
    const ItemShape shape{item.x, item.w, item.h, item.style, item.kind, item.band};
    if (m_shapeIndex.empty() && !m_shapes.empty()) // given back by squeeze(): built again
        for (size_t i = 0; i < m_shapes.size(); ++i)
            m_shapeIndex.emplace(m_shapes[i], std::uint16_t(i));
    auto it = m_shapeIndex.find(shape);
    if (it != m_shapeIndex.end())
        return it->second;
    if (m_shapes.size() > 0xffff)
        throw Error(QStringLiteral("Raporda çok fazla farklı hücre var."));
    m_shapes.push_back(shape);
    return m_shapeIndex.emplace(shape, std::uint16_t(m_shapes.size() - 1)).first->second;
}

void PreparedReport::store(const PreparedItem &item)
{
    m_items.push_back({item.y, item.textOffset, item.textLength, shapeOf(item), item.flags});
}

void PreparedReport::addItem(const PreparedItem &item)
{
    store(item);
    ++m_pages.back().itemCount;
}

void PreparedReport::squeeze()
{
    m_shapeIndex = {};
    m_items.shrink_to_fit();
    m_pages.shrink_to_fit();
    m_text.squeeze();
}

void PreparedReport::setPageSetup(int page, const PageSetup &setup)
{
    m_pages[size_t(page)].setup = std::uint32_t(addSetup(setup));
}

std::size_t PreparedReport::memoryBytes() const
{
    return m_items.capacity() * sizeof(StoredItem) + m_shapes.capacity() * sizeof(ItemShape)
         + m_shapeIndex.size() * (sizeof(ItemShape) + 2 * sizeof(void *)) + size_t(m_text.capacity()) * sizeof(QChar)
         + m_pages.capacity() * sizeof(PreparedPage) + m_styles.capacity() * sizeof(ItemStyle)
         + m_setups.capacity() * sizeof(PageSetup);
}

void PreparedReport::assign(std::vector<PageSetup> setups, std::vector<ItemStyle> styles,
                            std::vector<PreparedPage> pages, std::vector<PreparedItem> items, QString text)
{
    m_setups = std::move(setups);
    m_styles = std::move(styles);
    m_pages = std::move(pages);
    m_shapes.clear();
    m_shapeIndex.clear();
    m_items.clear();
    m_items.reserve(items.size());
    for (const PreparedItem &item : items)
        store(item);
    m_shapeIndex = {};
    m_text = std::move(text);
    m_finished = pageCount();
}

} // namespace tk::reports
