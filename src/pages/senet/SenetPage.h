#pragma once
// SENET TAKİP: the register of notes issued above, of notes received below.
// Two plain lists without search; the page computes nothing.
#include "pages/RecordPage.h"

namespace tk {

struct NoteRegisterDef;

class SenetPage : public RecordPage {
    Q_OBJECT
public:
    SenetPage(const PageContext &context, QWidget *parent);

private:
    QWidget *buildRegister(const NoteRegisterDef &def);
};

// What the page declares: datasets, tool bars, lists, search box, print
// button, its row in the page column and its saved totals.
const PageDef &senetPageDef();

} // namespace tk
