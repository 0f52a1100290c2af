#include "SaveConflict.h"

#include "Dataset.h"
#include "Field.h"
#include "core/UiSeam.h"

namespace tk {

QString changedElsewhereText()
{
    return QStringLiteral("Bu kayıt siz düzenlerken başka bir yerde değiştirildi. Değişiklikleriniz kaydedilmedi.");
}

QString deletedElsewhereText()
{
    return QStringLiteral("Bu kayıt siz düzenlerken başka bir yerde silindi. Değişiklikleriniz kaydedilmedi; "
                          "yazdıklarınız kutularda duruyor.");
}

QString masterDeletedElsewhereText()
{
    return QStringLiteral("Bu satırın ana kaydı başka bir yerde silindi. Satır kaydedilmedi.");
}

QString overwriteQuestion(const Dataset &ds)
{
    QString text = QStringLiteral("Bu kayıt siz düzenlerken başka bir yerde değiştirildi.\n");
    const QStringList changed = ds.fieldsChangedElsewhere();
    if (!changed.isEmpty())
        text += QStringLiteral("\nBaşka yerde kaydedilen → sizin yazdığınız:\n");
    for (const QString &field : changed) {
        const FieldKind kind = ds.fieldKind(field);
        const QString there = fieldDisplayText(kind, ds.valueElsewhere(field));
        text += QStringLiteral("%1: %2 → %3\n").arg(field, there.isEmpty() ? QStringLiteral("(boş)") : there,
                                                  ds.text(field).isEmpty() ? QStringLiteral("(boş)") : ds.text(field));
    }
    return text + QStringLiteral("\nSizin değerleriniz bunların üzerine kaydedilsin mi?");
}

bool saveAskingToOverwrite(Dataset &ds, QWidget *parent)
{
    // A first save refused by another desk's change only says so; saving
    // again means to write over it, so it asks first.
    if (ds.conflict() != Dataset::Conflict::Changed) {
        ds.post();
        return true;
    }
    if (ui().ask(parent, QStringLiteral("Uyarı"), overwriteQuestion(ds), true) != UiSeam::Answer::Yes)
        return false;
    ds.overwrite();
    return true;
}

void saveBeforeLeaving(Dataset &ds, QWidget *parent)
{
    if (!saveAskingToOverwrite(ds, parent))
        throw SaveConflict(changedElsewhereText());
}

} // namespace tk
