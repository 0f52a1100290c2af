-- Tables of Data.dat. tekvanis-initdb creates them; the program only reads and
-- writes rows.
--
-- The declared type of a column carries its field kind (read back with
-- PRAGMA table_info): TEXT, MEMO (multi-line text), INTEGER, REAL (amounts and
-- quantities), DATE (ISO yyyy-MM-dd, so ordering by date works) and BOOLEAN
-- (0/1). The damage page's dates are TEXT: shown and printed as typed. A
-- master row is keyed by SiraNo; its detail rows carry that SiraNo and go with
-- it when it is deleted (the delete questions announce it).
--
-- Multi-line columns are "MEMO TEXT": a bare MEMO gets numeric affinity and would turn "0123" into 123.

-- Service jobs and their operations.
CREATE TABLE MusTakip (
    SiraNo       INTEGER PRIMARY KEY AUTOINCREMENT,
    MusteriKodu  TEXT,
    AdiSoyadi    TEXT,
    AracPlaka    TEXT,
    AracCinsi    TEXT,
    Model        TEXT,
    Km           TEXT,
    Tarih        DATE,
    TelefonCep   TEXT,
    TelefonEv    TEXT,
    TelefonIs    TEXT,
    Sikayet      MEMO TEXT,
    Aciklama     MEMO TEXT
);
CREATE INDEX MusTakip_Tarih ON MusTakip(Tarih);

CREATE TABLE MusTakip1 (
    SiraNo  INTEGER REFERENCES MusTakip(SiraNo) ON DELETE CASCADE,
    Islem   TEXT,
    Tutar   REAL
);
CREATE INDEX MusTakip1_SiraNo ON MusTakip1(SiraNo);

-- Damage files. Payment and estimated damage are printed as typed, so they are text.
CREATE TABLE HasTakip (
    SiraNo          INTEGER PRIMARY KEY AUTOINCREMENT,
    DosyaNo         TEXT,
    Plaka           TEXT,
    AracTipi        TEXT,
    AracModeli      TEXT,
    AracSahibi      TEXT,
    AracSahibiTC    TEXT,
    KazaTarihi      TEXT,
    SigortaFirma    TEXT,
    PoliceNo        TEXT,
    KazaNedeni      TEXT,
    KarsiAracPlaka  TEXT,
    KarsiAracTipi   TEXT,
    Kusur           TEXT,
    Exper           TEXT,
    ExperTel        TEXT,
    Vekalet         TEXT,
    OdemeTarihi     TEXT,
    Odeme           TEXT,
    FatNo           TEXT,
    TahminiHasar    TEXT,
    Aciklama        MEMO TEXT
);

-- Invoice periods and their invoices.
CREATE TABLE FatTakip (
    SiraNo  INTEGER PRIMARY KEY AUTOINCREMENT,
    Yil     INTEGER,
    Aylar   TEXT
);
CREATE INDEX FatTakip_Yil ON FatTakip(Yil);

CREATE TABLE FatTakip1 (
    SiraNo          INTEGER REFERENCES FatTakip(SiraNo) ON DELETE CASCADE,
    FaturaNo        TEXT,
    FaturaTarihi    DATE,
    IrsaliyeNo      TEXT,
    IrsaliyeTarihi  DATE,
    Firma           TEXT,
    Tutar           REAL,
    Iskonto         REAL,
    Kdv_Onay        BOOLEAN,
    Kdv             REAL,
    Toplam          REAL
);
CREATE INDEX FatTakip1_SiraNo ON FatTakip1(SiraNo);

-- Current accounts: companies and their entries.
CREATE TABLE Cari (
    SiraNo  INTEGER PRIMARY KEY AUTOINCREMENT,
    Firma   TEXT
);

CREATE TABLE Cari1 (
    SiraNo     INTEGER REFERENCES Cari(SiraNo) ON DELETE CASCADE,
    FatNo      TEXT,
    FatTarihi  DATE,
    Tipi       TEXT,
    Tutar      REAL,
    Iskonto    REAL,
    KdvOnay    BOOLEAN,
    Kdv        REAL,
    Toplam     REAL,
    Odenen     REAL,
    Kalan      REAL
);
CREATE INDEX Cari1_SiraNo ON Cari1(SiraNo);

-- Waybill periods and their lines.
CREATE TABLE IrsaliyeUst (
    SiraNo  INTEGER PRIMARY KEY AUTOINCREMENT,
    Yil     INTEGER,
    Aylar   TEXT
);

CREATE TABLE Irsaliye (
    SiraNo       INTEGER REFERENCES IrsaliyeUst(SiraNo) ON DELETE CASCADE,
    FaturaNo     TEXT,
    FatTarihi    DATE,
    FirmaAdi     TEXT,
    MalzemeKodu  TEXT,
    MalzemeAdi   TEXT,
    IrsNo        TEXT,
    MalAdet      REAL,
    MalFiyat     REAL,
    Tutar        REAL
);
CREATE INDEX Irsaliye_SiraNo ON Irsaliye(SiraNo);

-- Cash book periods and their movements.
CREATE TABLE Kasa (
    SiraNo  INTEGER PRIMARY KEY AUTOINCREMENT,
    Aylar   TEXT
);

CREATE TABLE Kasa1 (
    SiraNo    INTEGER REFERENCES Kasa(SiraNo) ON DELETE CASCADE,
    Tarih     DATE,
    KKTahsis  REAL,
    KKTediye  REAL,
    Tahsilat  REAL,
    Tediye    REAL,
    Cari      TEXT,
    Aciklama  TEXT
);
CREATE INDEX Kasa1_SiraNo ON Kasa1(SiraNo);

-- Payment plan periods and their payments due.
CREATE TABLE Odeme (
    SiraNo  INTEGER PRIMARY KEY AUTOINCREMENT,
    Aylar   TEXT
);

CREATE TABLE Odeme1 (
    SiraNo    INTEGER REFERENCES Odeme(SiraNo) ON DELETE CASCADE,
    Tarih     DATE,
    Tutar     REAL,
    Aciklama  TEXT
);
CREATE INDEX Odeme1_SiraNo ON Odeme1(SiraNo);

-- Promissory notes issued and received.
CREATE TABLE SenetVer (
    SiraNo      INTEGER PRIMARY KEY AUTOINCREMENT,
    SenetNo     TEXT,
    VadeTarihi  DATE,
    Banka       TEXT,
    V_Firma     TEXT,
    Tutar       REAL
);

CREATE TABLE SenetAl (
    SiraNo      INTEGER PRIMARY KEY AUTOINCREMENT,
    SenetNo     TEXT,
    VadeTarihi  DATE,
    Banka       TEXT,
    A_Firma     TEXT,
    Tutar       REAL
);

-- Spare parts in stock.
CREATE TABLE Stok (
    SiraNo    INTEGER PRIMARY KEY AUTOINCREMENT,
    StokKodu  TEXT,
    StokAdi   TEXT,
    Adet      REAL,
    Raf       TEXT,
    Alis      REAL,
    Satis     REAL
);

-- Salary periods and their lines.
CREATE TABLE Maas (
    SiraNo  INTEGER PRIMARY KEY AUTOINCREMENT,
    Aylar   TEXT
);

CREATE TABLE Maas1 (
    SiraNo    INTEGER REFERENCES Maas(SiraNo) ON DELETE CASCADE,
    Personel  TEXT,
    Maas      REAL,
    Yol       REAL,
    Mesai     REAL,
    Toplam    REAL,
    Avans     REAL,
    Kesinti   REAL,
    K_Toplam  REAL,
    O_Tutar   REAL,
    O_Tutari  REAL,
    Kalan     REAL
);
CREATE INDEX Maas1_SiraNo ON Maas1(SiraNo);

-- The program adds the indexes on the Turkish order keys of the ordered and
-- searched text columns (data/TurkishOrder.cpp) and the schema version
-- (data/SchemaSteps.cpp); a change to these tables is a new step there.

-- The summary window's sums by month: each index holds the columns its
-- statement reads, so the figures come from the index without visiting the
-- rows. (No index may lead with a detail table's SiraNo and then another
-- column: the detail lists, which have no order of their own, would follow it.)
CREATE INDEX Kasa1_Tarih ON Kasa1(Tarih, KKTahsis, Tahsilat, KKTediye, Tediye);
CREATE INDEX SenetVer_VadeTarihi ON SenetVer(VadeTarihi, Tutar);
CREATE INDEX SenetAl_VadeTarihi ON SenetAl(VadeTarihi, Tutar);
