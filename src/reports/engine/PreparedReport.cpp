#include "PreparedReport.h"

namespace tk::reports {

void PreparedReport::clear()
{
    m_setups.clear();
    m_styles.clear();
    m_pages.clear();
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

void PreparedReport::addItem(const PreparedItem &item)
{
    m_items.push_back(item);
    ++m_pages.back().itemCount;
}

void PreparedReport::setPageSetup(int page, const PageSetup &setup)
{
    m_pages[size_t(page)].setup = std::uint32_t(addSetup(setup));
}

std::size_t PreparedReport::memoryBytes() const
{
    return m_items.capacity() * sizeof(PreparedItem) + size_t(m_text.capacity()) * sizeof(QChar)
         + m_pages.capacity() * sizeof(PreparedPage) + m_styles.capacity() * sizeof(ItemStyle)
         + m_setups.capacity() * sizeof(PageSetup);
}

void PreparedReport::assign(std::vector<PageSetup> setups, std::vector<ItemStyle> styles,
                            std::vector<PreparedPage> pages, std::vector<PreparedItem> items, QString text)
{
    m_setups = std::move(setups);
    m_styles = std::move(styles);
    m_pages = std::move(pages);
    m_items = std::move(items);
    m_text = std::move(text);
    m_finished = pageCount();
}

} // namespace tk::reports
