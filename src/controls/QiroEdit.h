#pragma once
// The numeric entry field: a one-line edit box that holds either free text
// (TextType) or a money amount with a fixed number of decimals (CurrencyType).
// In currency mode it takes over all typing, like a cash register: digits are
// inserted in the integer part and overwrite the fraction, the text is
// reformatted after every key and the caret keeps its distance from the
// right end. The arithmetic lives in QiroNumber.
#include <QColor>
#include <QLineEdit>

namespace tk {

class TQiroEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString About READ about WRITE setAbout STORED false)
    Q_PROPERTY(TCurrSymbolSet CurrencySymbol READ currencySymbol WRITE setCurrencySymbol)
    Q_PROPERTY(TQiroEditTypeSet QiroEditType READ qiroEditType WRITE setQiroEditType)
    Q_PROPERTY(int MaxLength READ qiroMaxLength WRITE setQiroMaxLength)
    Q_PROPERTY(int Decimals READ decimals WRITE setDecimals)
    Q_PROPERTY(double TextAsFloat READ textAsFloat WRITE setTextAsFloat STORED false)
    Q_PROPERTY(bool PassingControl READ passingControl WRITE setPassingControl)
    Q_PROPERTY(QColor ActiveFontColor READ activeFontColor WRITE setActiveFontColor)
    Q_PROPERTY(QColor ActiveSoilColor READ activeSoilColor WRITE setActiveSoilColor)

public:
    enum TQiroEditTypeSet { TextType, CurrencyType };
    Q_ENUM(TQiroEditTypeSet)
    enum class TCurrSymbolSet { None, TL, YTL, EURO, DOLAR };
    Q_ENUM(TCurrSymbolSet)

    explicit TQiroEdit(QWidget *parent = nullptr);

    QString about() const;
    void setAbout(const QString &) {} // identification only

    TCurrSymbolSet currencySymbol() const { return m_symbol; }
    void setCurrencySymbol(TCurrSymbolSet symbol);
    // " TL", " YTL", " €", " $", or empty for None.
    static QString suffixOf(TCurrSymbolSet symbol);

    TQiroEditTypeSet qiroEditType() const { return m_type; }
    void setQiroEditType(TQiroEditTypeSet type);

    // The field's own length limit for inserting integer digits, counting every
    // character of the text; QLineEdit's maxLength is left alone.
    int qiroMaxLength() const { return m_maxLength; }
    void setQiroMaxLength(int length);

    int decimals() const { return m_decimals; }
    void setDecimals(int decimals);
    // Empty until the field first becomes a currency field.
    QString displayFormat() const { return m_format; }

    // The amount read from the text (suffix, separators dropped; the last
    // Decimals digits are the fraction). Setting it formats the value with
    // Decimals fraction digits, halves away from zero (currency mode only).
    double textAsFloat() const;
    void setTextAsFloat(double value);

    bool passingControl() const { return m_passing; }
    void setPassingControl(bool on) { m_passing = on; }

    QColor activeFontColor() const { return m_activeFont; }
    void setActiveFontColor(const QColor &color) { m_activeFont = color; }
    QColor activeSoilColor() const { return m_activeSoil; }
    void setActiveSoilColor(const QColor &color) { m_activeSoil = color; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    void recreateWindow();
    void postFocusMove(bool next);
    void reapplyDecimals(int decimals);
    void typedChar(QChar c);
    void deleteKey();
    void eraseSelection(QString &text, int start, int selected, int &p) const;
    void setTextKeepingTail(const QString &raw, int p);
    QString withoutSuffix(const QString &text) const;
    void appendSuffix();
    void paint(const QColor &font, const QColor &soil);

    TQiroEditTypeSet m_type = TextType;
    TCurrSymbolSet m_symbol = TCurrSymbolSet::None;
    int m_maxLength = 20;
    int m_decimals = 0;
    QString m_format;
    bool m_passing = true;
    QColor m_activeFont;
    QColor m_activeSoil;
    QColor m_constructionFont, m_constructionSoil;
    QColor m_windowFont, m_windowSoil;
    bool m_notFocused = true;
    bool m_showsActiveColors = false;
    bool m_shown = false;
};

} // namespace tk
