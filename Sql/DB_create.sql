/* Brivola: creation of a new database, schema version 1.13. */
/* The program creates the file (dialect 3, default character set WIN1252) and then runs this */
/* script with its own script runner, so the script follows the runner's rules: */
/* - every statement ends with a line whose last character is the terminator ";" */
/* - no other line ends with ";" (comments included) */
/* - comments are block comments on lines of their own, never inside a statement, */
/*   and never directly before a COMMIT line, so that joining the lines of a statement */
/*   in any way leaves the statement intact */
/* - a line holding only COMMIT; commits (with retaining) what came before: a table */
/*   can be filled only after the transaction that created it has been committed */
/* The character set of every text column is the database's default (WIN1252). */

/* ===== Tables ===== */

/* Suppliers. */
CREATE TABLE anagrafica (
ID INTEGER NOT NULL,
RAGIONE VARCHAR(100),
PART_IVA VARCHAR(16),
COD_FISC VARCHAR(16),
INDIRIZZO VARCHAR(50),
LUOGO VARCHAR(50),
TEL1 VARCHAR(20),
TEL2 VARCHAR(20),
FAX VARCHAR(20),
EMAIL VARCHAR(100),
WEB VARCHAR(100),
CAP VARCHAR(5),
CONSTRAINT pk_anagrafica PRIMARY KEY (ID)
);

/* Categories of ingredients (TIPO I), of recipes (R) and of ingredient states (S). */
CREATE TABLE categorie (
CATEGORIA VARCHAR(3) NOT NULL,
DESCRIZIONE VARCHAR(50),
TIPO VARCHAR(10),
CONSTRAINT pk_categorie PRIMARY KEY (CATEGORIA)
);

/* Articles: ingredients and recipes share this table. */
CREATE TABLE articoli (
ID INTEGER NOT NULL,
NOME VARCHAR(100),
UM VARCHAR(3),
CATEGORIA VARCHAR(3),
CDATE DATE,
MDATE DATE,
QTA_FRUTTA INTEGER,
QTA_PF INTEGER,
ZUCCHERI NUMERIC(9,2),
GRASSI NUMERIC(9,2),
PROTEINE NUMERIC(9,2),
LATTOSIO NUMERIC(9,2),
ALTRI_SOLIDI NUMERIC(9,2),
ACQUA NUMERIC(9,2),
PREZZO NUMERIC(9,2),
CAT_STATO VARCHAR(3),
PREFERITO SMALLINT,
CONSTRAINT pk_articoli PRIMARY KEY (ID)
);

/* Certification parameters of a recipe category: minimum percentages. */
CREATE TABLE parametri_cat (
CATEGORIA VARCHAR(3) NOT NULL,
LATTE_DERIVATI NUMERIC(9,2),
TUORLO NUMERIC(9,2),
SLNG NUMERIC(9,2),
GRASSI_LATTE NUMERIC(9,2),
FRUTTA NUMERIC(9,2),
CONSTRAINT pk_parametri_cat PRIMARY KEY (CATEGORIA)
);

/* Balancing ranges of a recipe category, in percent of the mix. */
CREATE TABLE parametri_bil (
CATEGORIA VARCHAR(3) NOT NULL,
MIN_ZUCCHERI NUMERIC(9,2),
MAX_ZUCCHERI NUMERIC(9,2),
MIN_GRASSI NUMERIC(9,2),
MAX_GRASSI NUMERIC(9,2),
MIN_PROTEINE NUMERIC(9,2),
MAX_PROTEINE NUMERIC(9,2),
MIN_LATTOSIO NUMERIC(9,2),
MAX_LATTOSIO NUMERIC(9,2),
MIN_ALTRI_SOLIDI NUMERIC(9,2),
MAX_ALTRI_SOLIDI NUMERIC(9,2),
MIN_SECCO NUMERIC(9,2),
MAX_SECCO NUMERIC(9,2),
CONSTRAINT pk_parametri_bil PRIMARY KEY (CATEGORIA)
);

/* The ingredient states that a state category allows. */
CREATE TABLE stati_cat (
CATEGORIA VARCHAR(3) NOT NULL,
STATO VARCHAR(3) NOT NULL,
CONSTRAINT pk_stati_cat PRIMARY KEY (CATEGORIA, STATO)
);

/* Components of a recipe: an article appears at most once in a recipe. */
CREATE TABLE sottoarticoli (
ART_ID_BASE INTEGER NOT NULL,
ART_ID_INGR INTEGER NOT NULL,
PROGR SMALLINT,
UM VARCHAR(3),
QUANTITA NUMERIC(9,3),
SCARTO NUMERIC(9,3),
MOLT NUMERIC(9,3),
QTA_SCARICO NUMERIC(9,3),
NO_PESO SMALLINT NOT NULL,
CONSTRAINT pk_sottoarticoli PRIMARY KEY (ART_ID_BASE, ART_ID_INGR)
);

/* Movement documents: loads (C), production runs (P), other uses (S). */
CREATE TABLE documenti (
ID INTEGER NOT NULL,
GENERE CHAR(1) NOT NULL,
DATA DATE,
ANNO INTEGER,
NUMERO VARCHAR(12),
TIPO VARCHAR(3),
ANAGR_ID INTEGER,
ART_ID_BASE INTEGER,
QUANTITA NUMERIC(9,2),
ART_ID_GUSTO INTEGER,
QTA_PF NUMERIC(9,2),
CONSTRAINT pk_documenti PRIMARY KEY (ID)
);

/* Rows of a movement document; SALDO_ID is filled by the database. */
CREATE TABLE righe (
ID INTEGER NOT NULL,
DOC_ID INTEGER NOT NULL,
ART_ID INTEGER NOT NULL,
QUANTITA NUMERIC(9,2),
QTA_USO NUMERIC(9,2),
QTA_SCARTO NUMERIC(9,2),
STATO VARCHAR(3),
TIPO_USO VARCHAR(3),
SALDO_ID CHAR(31),
CONSTRAINT pk_righe PRIMARY KEY (ID)
);

/* Domains and their values. */
CREATE TABLE tipi_dominio (
DOMINIO VARCHAR(10) NOT NULL,
DESCRIZIONE VARCHAR(50),
CONSTRAINT pk_tipi_dominio PRIMARY KEY (DOMINIO)
);

CREATE TABLE domini (
DOMINIO VARCHAR(10) NOT NULL,
VALORE VARCHAR(10) NOT NULL,
DESC_IT VARCHAR(50),
DESC_TE VARCHAR(50),
CONSTRAINT pk_domini PRIMARY KEY (DOMINIO, VALORE)
);

/* One-row tables: energy factors, key counters, schema version, installation settings. */
/* They have no key: the program updates their one row without a WHERE clause. */
CREATE TABLE calorie (
CARBOIDRATI NUMERIC(4,1),
PROTEINE NUMERIC(4,1),
GRASSI NUMERIC(4,1),
ALCOOL NUMERIC(4,1)
);

CREATE TABLE keygen (
ANAGRAFICA INTEGER,
ARTICOLI INTEGER,
DOCUMENTI INTEGER,
RIGHE INTEGER
);

CREATE TABLE dummy (
VERSION VARCHAR(10)
);

CREATE TABLE codici (
CODICE_CERT VARCHAR(16),
PASS_RIC VARCHAR(24),
IDENTIFICATIVO VARCHAR(100),
PIVA VARCHAR(16)
);

COMMIT;

/* ===== Foreign keys ===== */

/* A document owns its rows: deleting a document, alone or by the movement purge, */
/* removes its rows with it. A row always names an existing document and article. */
ALTER TABLE righe ADD CONSTRAINT fk_righe_documento FOREIGN KEY (DOC_ID) REFERENCES documenti (ID) ON DELETE CASCADE;

/* An article named by movement rows cannot be deleted: the windows count these rows */
/* and refuse first, the database refuses as well. */
ALTER TABLE righe ADD CONSTRAINT fk_righe_articolo FOREIGN KEY (ART_ID) REFERENCES articoli (ID);

/* A supplier named by a load, or a recipe produced by a production run, cannot be deleted. */
/* The windows refuse both before deleting; the keys keep the data sound for any other client. */
ALTER TABLE documenti ADD CONSTRAINT fk_documenti_fornitore FOREIGN KEY (ANAGR_ID) REFERENCES anagrafica (ID);
ALTER TABLE documenti ADD CONSTRAINT fk_documenti_prodotto FOREIGN KEY (ART_ID_BASE) REFERENCES articoli (ID);

/* A recipe owns its components: deleting a recipe removes them. */
ALTER TABLE sottoarticoli ADD CONSTRAINT fk_sottoart_ricetta FOREIGN KEY (ART_ID_BASE) REFERENCES articoli (ID) ON DELETE CASCADE;

/* An article used as a component of some recipe cannot be deleted: the database refuses */
/* and reports it. Removing the component silently instead would change the recipe */
/* behind the user's back and leave its stored totals and cost out of date. */
ALTER TABLE sottoarticoli ADD CONSTRAINT fk_sottoart_componente FOREIGN KEY (ART_ID_INGR) REFERENCES articoli (ID);

/* Categories. A category still used by an article (as its category or as its state */
/* category) cannot be deleted: the categories window reports the database's refusal and */
/* nothing is deleted. The parameters and allowed states belong to their category and */
/* are written only through it, so deleting an unused category removes them with it */
/* (otherwise a recipe category that ever had a parameter typed in could never be deleted). */
/* A corrected category code is carried to every row that names it. */
ALTER TABLE articoli ADD CONSTRAINT fk_articoli_categoria FOREIGN KEY (CATEGORIA) REFERENCES categorie (CATEGORIA) ON UPDATE CASCADE;
ALTER TABLE articoli ADD CONSTRAINT fk_articoli_cat_stato FOREIGN KEY (CAT_STATO) REFERENCES categorie (CATEGORIA) ON UPDATE CASCADE;
ALTER TABLE parametri_cat ADD CONSTRAINT fk_parametri_cat_categoria FOREIGN KEY (CATEGORIA) REFERENCES categorie (CATEGORIA) ON DELETE CASCADE ON UPDATE CASCADE;
ALTER TABLE parametri_bil ADD CONSTRAINT fk_parametri_bil_categoria FOREIGN KEY (CATEGORIA) REFERENCES categorie (CATEGORIA) ON DELETE CASCADE ON UPDATE CASCADE;
ALTER TABLE stati_cat ADD CONSTRAINT fk_stati_cat_categoria FOREIGN KEY (CATEGORIA) REFERENCES categorie (CATEGORIA) ON DELETE CASCADE ON UPDATE CASCADE;

/* Domain values belong to their domain. A domain that still has values cannot be */
/* deleted (deleting UNITA_MIS by mistake would empty every unit list); a renamed */
/* domain keeps its values. */
ALTER TABLE domini ADD CONSTRAINT fk_domini_dominio FOREIGN KEY (DOMINIO) REFERENCES tipi_dominio (DOMINIO) ON UPDATE CASCADE;

/* Not declared as foreign keys: */
/* - the coded values articoli.UM, documenti.TIPO, righe.STATO, righe.TIPO_USO, */
/*   stati_cat.STATO and categorie.TIPO: they point into domini, whose key is the pair */
/*   (DOMINIO, VALORE), and the lists that offer them keep them valid */
/* - documenti.ART_ID_GUSTO: carried with the document, never set or joined by the program */

/* ===== Indexes ===== */

/* Documents are listed by date, then key, and filtered by kind and date. */
CREATE INDEX ix_documenti_data_id ON documenti (DATA, ID);
CREATE INDEX ix_documenti_genere_data ON documenti (GENERE, DATA);

/* Article names are checked for uniqueness without regard to case before posting. */
CREATE INDEX ix_articoli_nome_upper ON articoli COMPUTED BY (UPPER(NOME));

/* Suppliers are listed by company name. */
CREATE INDEX ix_anagrafica_ragione ON anagrafica (RAGIONE);

COMMIT;

/* ===== Base data ===== */

/* Energy factors, kcal per gram. */
INSERT INTO calorie (CARBOIDRATI, PROTEINE, GRASSI, ALCOOL) VALUES (4, 4, 9, 7);

/* Key counters: the last key handed out for each table. */
INSERT INTO keygen (ANAGRAFICA, ARTICOLI, DOCUMENTI, RIGHE) VALUES (0, 0, 0, 0);

/* Domains. */
INSERT INTO tipi_dominio (DOMINIO, DESCRIZIONE) VALUES ('UNITA_MIS', 'Unità di misura');
INSERT INTO tipi_dominio (DOMINIO, DESCRIZIONE) VALUES ('TIPI_DOC', 'Tipi di documento del fornitore');
INSERT INTO tipi_dominio (DOMINIO, DESCRIZIONE) VALUES ('ALTRI_USI', 'Tipi di utilizzo diverso dalla produzione');
INSERT INTO tipi_dominio (DOMINIO, DESCRIZIONE) VALUES ('STATI_ING', 'Stati degli ingredienti');
INSERT INTO tipi_dominio (DOMINIO, DESCRIZIONE) VALUES ('TIPI_CAT', 'Tipi di categoria');
INSERT INTO tipi_dominio (DOMINIO, DESCRIZIONE) VALUES ('CATEGORIA', 'Categorie di ingredienti, ricette e stati');

/* Units of measure (stored in articoli.UM, at most 3 characters). */
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('UNITA_MIS', 'CF', 'Confezioni', 'Packungen');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('UNITA_MIS', 'GR', 'Grammi', 'Gramm');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('UNITA_MIS', 'KG', 'Chilogrammi', 'Kilogramm');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('UNITA_MIS', 'LT', 'Litri', 'Liter');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('UNITA_MIS', 'ML', 'Millilitri', 'Milliliter');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('UNITA_MIS', 'PZ', 'Pezzi', 'Stück');

/* Types of supplier document (stored in documenti.TIPO, at most 3 characters). */
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('TIPI_DOC', 'DDT', 'Documento di trasporto', 'Lieferschein');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('TIPI_DOC', 'FA', 'Fattura accompagnatoria', 'Begleitrechnung');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('TIPI_DOC', 'FT', 'Fattura', 'Rechnung');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('TIPI_DOC', 'RF', 'Ricevuta fiscale', 'Quittung');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('TIPI_DOC', 'SC', 'Scontrino', 'Kassenbon');

/* Kinds of other use of stock (stored in righe.TIPO_USO, at most 3 characters). */
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('ALTRI_USI', 'DEG', 'Degustazione', 'Verkostung');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('ALTRI_USI', 'INT', 'Uso interno', 'Eigenverbrauch');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('ALTRI_USI', 'OMA', 'Omaggio', 'Geschenk');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('ALTRI_USI', 'RES', 'Reso al fornitore', 'Rücksendung an den Lieferanten');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('ALTRI_USI', 'ROT', 'Rottura o danneggiamento', 'Bruch oder Beschädigung');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('ALTRI_USI', 'SCA', 'Scaduto e smaltito', 'Abgelaufen und entsorgt');

/* States of ingredient goods (stored in stati_cat.STATO and righe.STATO, at most 3 characters). */
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('STATI_ING', 'CON', 'Congelato', 'Gefroren');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('STATI_ING', 'FRE', 'Fresco', 'Frisch');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('STATI_ING', 'LIQ', 'Liquido', 'Flüssig');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('STATI_ING', 'PAS', 'In pasta', 'Pastenförmig');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('STATI_ING', 'POL', 'In polvere', 'Pulverförmig');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('STATI_ING', 'PST', 'Pastorizzato', 'Pasteurisiert');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('STATI_ING', 'REF', 'Refrigerato', 'Gekühlt');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('STATI_ING', 'SCI', 'Sciroppato', 'In Sirup');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('STATI_ING', 'SEC', 'Secco', 'Getrocknet');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('STATI_ING', 'SUR', 'Surgelato', 'Tiefgekühlt');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('STATI_ING', 'UHT', 'A lunga conservazione (UHT)', 'Haltbar (UHT)');

/* Types of category (stored in categorie.TIPO). */
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('TIPI_CAT', 'I', 'Ingredienti', 'Zutaten');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('TIPI_CAT', 'R', 'Ricette', 'Rezepte');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('TIPI_CAT', 'S', 'Stati ingredienti', 'Zutatenzustände');

/* Ingredient categories. 00 water, 01 milk and dairy and 10 to 14 fruit have a fixed */
/* meaning: the stock warnings leave water out, and the certification values count */
/* the milk and the fruit of a recipe by these codes. */
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('00', 'Acqua', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('01', 'Latte e derivati', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('02', 'Uova e ovoprodotti', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('03', 'Zuccheri e dolcificanti', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('04', 'Grassi vegetali', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('05', 'Cacao e cioccolato', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('06', 'Frutta a guscio e paste', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('07', 'Neutri, fibre e stabilizzanti', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('08', 'Basi e semilavorati', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('09', 'Aromi, spezie ed estratti', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('10', 'Frutta fresca', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('11', 'Frutti di bosco', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('12', 'Agrumi', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('13', 'Frutta esotica', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('14', 'Purea e polpa di frutta', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('20', 'Caffè, tè e infusi', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('21', 'Variegati e salse', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('22', 'Granelle, biscotti e decorazioni', 'I');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('30', 'Liquori e alcolici', 'I');

/* Recipe categories. */
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('CIO', 'Gelati al cioccolato', 'R');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('CRE', 'Creme a base latte', 'R');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('CRU', 'Creme all''uovo', 'R');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('FRL', 'Gelati alla frutta a base latte', 'R');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('NOC', 'Creme alla frutta a guscio', 'R');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('SAG', 'Sorbetti agli agrumi', 'R');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('SEM', 'Semifreddi', 'R');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('SOR', 'Sorbetti di frutta', 'R');

/* State categories: the states in which an ingredient may be loaded. */
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('S01', 'Latticini freschi', 'S');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('S02', 'Uova', 'S');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('S03', 'Frutta fresca e surgelata', 'S');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('S04', 'Prodotti secchi e in polvere', 'S');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('S05', 'Liquidi e sciroppi', 'S');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('S06', 'Paste e creme', 'S');
INSERT INTO categorie (CATEGORIA, DESCRIZIONE, TIPO) VALUES ('S07', 'Surgelati', 'S');

/* Balancing ranges of the recipe categories, percent of the mix: */
/* sugars, fats, proteins, lactose, other solids, total solids (minimum, maximum). */
INSERT INTO parametri_bil (CATEGORIA, MIN_ZUCCHERI, MAX_ZUCCHERI, MIN_GRASSI, MAX_GRASSI, MIN_PROTEINE, MAX_PROTEINE, MIN_LATTOSIO, MAX_LATTOSIO, MIN_ALTRI_SOLIDI, MAX_ALTRI_SOLIDI, MIN_SECCO, MAX_SECCO) VALUES ('CRE', 16, 22, 6, 10, 3, 4.5, 4.5, 6.5, 0.3, 3, 36, 42);
INSERT INTO parametri_bil (CATEGORIA, MIN_ZUCCHERI, MAX_ZUCCHERI, MIN_GRASSI, MAX_GRASSI, MIN_PROTEINE, MAX_PROTEINE, MIN_LATTOSIO, MAX_LATTOSIO, MIN_ALTRI_SOLIDI, MAX_ALTRI_SOLIDI, MIN_SECCO, MAX_SECCO) VALUES ('CRU', 17, 22, 7, 12, 3.5, 5, 4, 6, 0.3, 3, 37, 43);
INSERT INTO parametri_bil (CATEGORIA, MIN_ZUCCHERI, MAX_ZUCCHERI, MIN_GRASSI, MAX_GRASSI, MIN_PROTEINE, MAX_PROTEINE, MIN_LATTOSIO, MAX_LATTOSIO, MIN_ALTRI_SOLIDI, MAX_ALTRI_SOLIDI, MIN_SECCO, MAX_SECCO) VALUES ('CIO', 18, 24, 6, 11, 3.5, 5.5, 3.5, 6, 2, 8, 38, 45);
INSERT INTO parametri_bil (CATEGORIA, MIN_ZUCCHERI, MAX_ZUCCHERI, MIN_GRASSI, MAX_GRASSI, MIN_PROTEINE, MAX_PROTEINE, MIN_LATTOSIO, MAX_LATTOSIO, MIN_ALTRI_SOLIDI, MAX_ALTRI_SOLIDI, MIN_SECCO, MAX_SECCO) VALUES ('NOC', 16, 21, 8, 14, 3.5, 6, 3.5, 6, 0.5, 4, 37, 44);
INSERT INTO parametri_bil (CATEGORIA, MIN_ZUCCHERI, MAX_ZUCCHERI, MIN_GRASSI, MAX_GRASSI, MIN_PROTEINE, MAX_PROTEINE, MIN_LATTOSIO, MAX_LATTOSIO, MIN_ALTRI_SOLIDI, MAX_ALTRI_SOLIDI, MIN_SECCO, MAX_SECCO) VALUES ('FRL', 22, 28, 2, 6, 1.5, 3.5, 2, 4.5, 0.5, 3, 31, 38);
INSERT INTO parametri_bil (CATEGORIA, MIN_ZUCCHERI, MAX_ZUCCHERI, MIN_GRASSI, MAX_GRASSI, MIN_PROTEINE, MAX_PROTEINE, MIN_LATTOSIO, MAX_LATTOSIO, MIN_ALTRI_SOLIDI, MAX_ALTRI_SOLIDI, MIN_SECCO, MAX_SECCO) VALUES ('SOR', 25, 32, 0, 1, 0, 1.5, 0, 0.5, 0.5, 4, 28, 35);
INSERT INTO parametri_bil (CATEGORIA, MIN_ZUCCHERI, MAX_ZUCCHERI, MIN_GRASSI, MAX_GRASSI, MIN_PROTEINE, MAX_PROTEINE, MIN_LATTOSIO, MAX_LATTOSIO, MIN_ALTRI_SOLIDI, MAX_ALTRI_SOLIDI, MIN_SECCO, MAX_SECCO) VALUES ('SAG', 26, 32, 0, 1, 0, 1, 0, 0.5, 0.3, 3, 28, 34);
INSERT INTO parametri_bil (CATEGORIA, MIN_ZUCCHERI, MAX_ZUCCHERI, MIN_GRASSI, MAX_GRASSI, MIN_PROTEINE, MAX_PROTEINE, MIN_LATTOSIO, MAX_LATTOSIO, MIN_ALTRI_SOLIDI, MAX_ALTRI_SOLIDI, MIN_SECCO, MAX_SECCO) VALUES ('SEM', 20, 28, 12, 20, 3, 5, 3, 5, 0.3, 3, 40, 50);

/* Certification minimums of the recipe categories, percent: milk and dairy, egg yolk, */
/* milk solids non-fat, milk fat, fruit (0 means no requirement). */
INSERT INTO parametri_cat (CATEGORIA, LATTE_DERIVATI, TUORLO, SLNG, GRASSI_LATTE, FRUTTA) VALUES ('CRE', 60, 0, 8, 3.5, 0);
INSERT INTO parametri_cat (CATEGORIA, LATTE_DERIVATI, TUORLO, SLNG, GRASSI_LATTE, FRUTTA) VALUES ('CRU', 55, 5, 7.5, 3.5, 0);
INSERT INTO parametri_cat (CATEGORIA, LATTE_DERIVATI, TUORLO, SLNG, GRASSI_LATTE, FRUTTA) VALUES ('CIO', 50, 0, 6.5, 3, 0);
INSERT INTO parametri_cat (CATEGORIA, LATTE_DERIVATI, TUORLO, SLNG, GRASSI_LATTE, FRUTTA) VALUES ('NOC', 55, 0, 7, 3, 0);
INSERT INTO parametri_cat (CATEGORIA, LATTE_DERIVATI, TUORLO, SLNG, GRASSI_LATTE, FRUTTA) VALUES ('FRL', 30, 0, 3, 1, 30);
INSERT INTO parametri_cat (CATEGORIA, LATTE_DERIVATI, TUORLO, SLNG, GRASSI_LATTE, FRUTTA) VALUES ('SOR', 0, 0, 0, 0, 40);
INSERT INTO parametri_cat (CATEGORIA, LATTE_DERIVATI, TUORLO, SLNG, GRASSI_LATTE, FRUTTA) VALUES ('SAG', 0, 0, 0, 0, 25);
INSERT INTO parametri_cat (CATEGORIA, LATTE_DERIVATI, TUORLO, SLNG, GRASSI_LATTE, FRUTTA) VALUES ('SEM', 40, 3, 5, 8, 0);

/* States allowed by each state category. */
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S01', 'CON');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S01', 'FRE');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S01', 'PST');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S01', 'REF');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S01', 'UHT');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S02', 'CON');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S02', 'FRE');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S02', 'POL');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S02', 'PST');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S02', 'REF');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S03', 'CON');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S03', 'FRE');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S03', 'REF');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S03', 'SUR');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S04', 'POL');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S04', 'SEC');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S05', 'LIQ');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S05', 'REF');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S05', 'SCI');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S06', 'PAS');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S06', 'REF');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S07', 'CON');
INSERT INTO stati_cat (CATEGORIA, STATO) VALUES ('S07', 'SUR');

/* The category descriptions as a domain, keyed by category code. */
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '00', 'Acqua', 'Wasser');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '01', 'Latte e derivati', 'Milch und Milchprodukte');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '02', 'Uova e ovoprodotti', 'Eier und Eiprodukte');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '03', 'Zuccheri e dolcificanti', 'Zucker und Süßungsmittel');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '04', 'Grassi vegetali', 'Pflanzliche Fette');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '05', 'Cacao e cioccolato', 'Kakao und Schokolade');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '06', 'Frutta a guscio e paste', 'Schalenfrüchte und Nusspasten');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '07', 'Neutri, fibre e stabilizzanti', 'Bindemittel, Ballaststoffe und Stabilisatoren');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '08', 'Basi e semilavorati', 'Grundmischungen und Halbfabrikate');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '09', 'Aromi, spezie ed estratti', 'Aromen, Gewürze und Extrakte');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '10', 'Frutta fresca', 'Frisches Obst');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '11', 'Frutti di bosco', 'Beeren');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '12', 'Agrumi', 'Zitrusfrüchte');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '13', 'Frutta esotica', 'Exotische Früchte');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '14', 'Purea e polpa di frutta', 'Fruchtpüree und Fruchtmark');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '20', 'Caffè, tè e infusi', 'Kaffee, Tee und Aufgüsse');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '21', 'Variegati e salse', 'Ripple-Soßen und Saucen');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '22', 'Granelle, biscotti e decorazioni', 'Krokant, Kekse und Dekorationen');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', '30', 'Liquori e alcolici', 'Liköre und Spirituosen');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'CIO', 'Gelati al cioccolato', 'Schokoladeneis');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'CRE', 'Creme a base latte', 'Milchcremeeis');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'CRU', 'Creme all''uovo', 'Eiercremeeis');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'FRL', 'Gelati alla frutta a base latte', 'Milchfruchteis');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'NOC', 'Creme alla frutta a guscio', 'Nusseis');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'SAG', 'Sorbetti agli agrumi', 'Zitrussorbets');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'SEM', 'Semifreddi', 'Halbgefrorenes');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'SOR', 'Sorbetti di frutta', 'Fruchtsorbets');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'S01', 'Latticini freschi', 'Frische Milchprodukte');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'S02', 'Uova', 'Eier');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'S03', 'Frutta fresca e surgelata', 'Frisches und tiefgekühltes Obst');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'S04', 'Prodotti secchi e in polvere', 'Trocken- und Pulverprodukte');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'S05', 'Liquidi e sciroppi', 'Flüssigkeiten und Sirupe');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'S06', 'Paste e creme', 'Pasten und Cremes');
INSERT INTO domini (DOMINIO, VALORE, DESC_IT, DESC_TE) VALUES ('CATEGORIA', 'S07', 'Surgelati', 'Tiefkühlware');

COMMIT;

/* ===== Stock objects ===== */
/* The views carico_scarico, disponibilita and scarto_medio, the triggers that fill */
/* righe.SALDO_ID and the procedures "GetSaldo", "DaiInizioUtilizzo", "DaiProduzioni" */
/* and "DaiForniture" go between the two marker lines below. When they hold DDL, the */
/* last statement before the end marker is COMMIT; and the terminator is ";" again there. */
/* === Stock objects: begin === */
/* Stock kept by the database. */
/* */
/* righe.SALDO_ID orders an article's movements in time: the document date "YYYY-MM-DD", "0" for a */
/* load and "1" for any other row (so the goods that arrive on a day can be used that same day), */
/* and the row ID padded with zeros to 20 digits. A document without a date sorts after every dated */
/* one ("9999-12-31"). */
/* */
/* Lots: loads fill a lot axis in SALDO_ID order; a consumption row takes the next stretch of the */
/* lots already arrived, oldest first, as far as they reach. What they cannot cover is charged to */
/* no lot (the stock goes negative and no later load is charged with it). Rows whose quantity is */
/* not above zero count for the stock only. */
/* */
/* saldi_articolo: one row per article with its totals, the production use and waste behind the */
/* average waste, and the first key whose figures must be recomputed. Every change of an article's */
/* rows updates this row first, so two transactions cannot change the movements of the same */
/* article at once (nowait: the second gets the lock conflict). */
/* saldi_blocco: one row per article and month of movements with the state at the start of the */
/* month (stock, lots loaded, consumption allocated) and the month's own effect (its stock change, */
/* its lots, and the effect on the lots still on hand D, which is D -> MAXVALUE (D + F_A, F_B)). */
/* saldi_riga: one row per document row: what it counts for, its month and the stock change from */
/* the start of the month to the end of the row. A change in the past so rewrites one month of */
/* rows and the later months of the article, not every later row. */
/* The row triggers only record a change; the figures are recomputed by RICALCOLA_SALDI before a */
/* procedure reads them in the same transaction and, at the latest, when the transaction commits. */
CREATE SEQUENCE saldi_blocco_seq;
CREATE TABLE saldi_articolo (
ART_ID INTEGER NOT NULL,
CARICO NUMERIC(18,2) DEFAULT 0 NOT NULL,
SCARICO NUMERIC(18,2) DEFAULT 0 NOT NULL,
USO_PROD NUMERIC(18,2) DEFAULT 0 NOT NULL,
SCARTO_PROD NUMERIC(18,2) DEFAULT 0 NOT NULL,
DA_RICALCOLARE CHAR(31),
CONSTRAINT pk_saldi_articolo PRIMARY KEY (ART_ID));
CREATE INDEX ix_saldi_articolo_sporchi ON saldi_articolo (DA_RICALCOLARE);
CREATE TABLE saldi_blocco (
ID INTEGER NOT NULL,
ART_ID INTEGER NOT NULL,
MESE CHAR(7) NOT NULL,
SALDO_INIZIO NUMERIC(18,2) DEFAULT 0 NOT NULL,
LOTTI_INIZIO NUMERIC(18,2) DEFAULT 0 NOT NULL,
ALLOC_INIZIO NUMERIC(18,2) DEFAULT 0 NOT NULL,
D_SALDO NUMERIC(18,2) DEFAULT 0 NOT NULL,
D_LOTTI NUMERIC(18,2) DEFAULT 0 NOT NULL,
F_A NUMERIC(18,2) DEFAULT 0 NOT NULL,
F_B NUMERIC(18,2) DEFAULT 0 NOT NULL,
DA_RICALCOLARE CHAR(31),
CONSTRAINT pk_saldi_blocco PRIMARY KEY (ID));
CREATE UNIQUE INDEX ix_saldi_blocco_mese ON saldi_blocco (ART_ID, MESE);
CREATE DESCENDING INDEX ix_saldi_blocco_mese_desc ON saldi_blocco (ART_ID, MESE);
CREATE TABLE saldi_riga (
RIGA_ID INTEGER NOT NULL,
ART_ID INTEGER NOT NULL,
SALDO_ID CHAR(31) NOT NULL,
CARICO SMALLINT NOT NULL,
PRODUZIONE SMALLINT NOT NULL,
QTA NUMERIC(9,2) NOT NULL,
QTA_USO NUMERIC(9,2) NOT NULL,
QTA_SCARTO NUMERIC(9,2) NOT NULL,
BLOCCO_ID INTEGER NOT NULL,
SALDO_REL NUMERIC(18,2),
CONSTRAINT pk_saldi_riga PRIMARY KEY (RIGA_ID));
CREATE UNIQUE INDEX ix_saldi_riga_chiave ON saldi_riga (SALDO_ID);
CREATE DESCENDING INDEX ix_saldi_riga_ordine_desc ON saldi_riga (ART_ID, SALDO_ID);
CREATE INDEX ix_saldi_riga_blocco ON saldi_riga (BLOCCO_ID, SALDO_ID);
CREATE INDEX ix_righe_art_saldo ON righe (ART_ID, SALDO_ID);
COMMIT;
CREATE VIEW carico_scarico (ART_ID, CARICO, SCARICO, SALDO) AS
SELECT a.id,
CAST (COALESCE (s.carico, 0) AS NUMERIC(18,2)),
CAST (COALESCE (s.scarico, 0) AS NUMERIC(18,2)),
CAST (COALESCE (s.carico, 0) - COALESCE (s.scarico, 0) AS NUMERIC(18,2))
FROM articoli a LEFT JOIN saldi_articolo s ON s.art_id = a.id;
CREATE VIEW disponibilita (ART_ID, QTA_DISPO) AS
SELECT a.id, CAST (COALESCE (s.carico, 0) - COALESCE (s.scarico, 0) AS NUMERIC(18,2))
FROM articoli a LEFT JOIN saldi_articolo s ON s.art_id = a.id;
CREATE VIEW scarto_medio (ART_ID, PERC_SCARTO) AS
SELECT s.art_id,
CAST (MINVALUE (100 * s.scarto_prod / (s.uso_prod + s.scarto_prod), 99.99) AS NUMERIC(9,2))
FROM saldi_articolo s
WHERE s.uso_prod + s.scarto_prod > 0;
COMMIT;
SET TERM ^ ;
/* Records a change of an article's rows: totals, and the month and key from which its figures */
/* must be recomputed. A month the article has never had comes with the other months of its year, */
/* so that an article's months lie together and a change in the past rewrites few pages; their */
/* start figures are then recomputed from January. */
CREATE PROCEDURE saldi_segna (ART INTEGER, CHIAVE CHAR(31),
    D_CARICO NUMERIC(18,2), D_SCARICO NUMERIC(18,2), D_USO NUMERIC(18,2), D_SCARTO NUMERIC(18,2))
RETURNS (BLOCCO INTEGER)
AS
DECLARE m CHAR(7);
DECLARE mm CHAR(7);
DECLARE i INTEGER;
DECLARE x INTEGER;
BEGIN
  UPDATE saldi_articolo
     SET carico = carico + :d_carico, scarico = scarico + :d_scarico,
         uso_prod = uso_prod + :d_uso, scarto_prod = scarto_prod + :d_scarto,
         da_ricalcolare = IIF (:chiave IS NULL OR (da_ricalcolare IS NOT NULL AND da_ricalcolare <= :chiave),
                               da_ricalcolare, :chiave)
   WHERE art_id = :art;
  IF (ROW_COUNT = 0) THEN
    INSERT INTO saldi_articolo (art_id, carico, scarico, uso_prod, scarto_prod, da_ricalcolare)
    VALUES (:art, :d_carico, :d_scarico, :d_uso, :d_scarto, :chiave);
  blocco = NULL;
  IF (chiave IS NOT NULL) THEN
  BEGIN
    m = SUBSTRING (chiave FROM 1 FOR 7);
    UPDATE saldi_blocco
       SET da_ricalcolare = IIF (da_ricalcolare IS NOT NULL AND da_ricalcolare <= :chiave, da_ricalcolare, :chiave)
     WHERE art_id = :art AND mese = :m
    RETURNING id INTO :blocco;
    IF (blocco IS NULL) THEN
    BEGIN
      i = 1;
      WHILE (i <= 12) DO
      BEGIN
        mm = SUBSTRING (m FROM 1 FOR 5) || LPAD (CAST (i AS VARCHAR(2)), 2, '0');
        IF (NOT EXISTS (SELECT 1 FROM saldi_blocco WHERE art_id = :art AND mese = :mm)) THEN
          INSERT INTO saldi_blocco (id, art_id, mese) VALUES (NEXT VALUE FOR saldi_blocco_seq, :art, :mm);
        i = i + 1;
      END
      UPDATE saldi_blocco SET da_ricalcolare = :chiave WHERE art_id = :art AND mese = :m
      RETURNING id INTO :blocco;
      UPDATE saldi_articolo
         SET da_ricalcolare = IIF (da_ricalcolare <= SUBSTRING (:m FROM 1 FOR 5) || '01', da_ricalcolare,
                                   SUBSTRING (:m FROM 1 FOR 5) || '01')
       WHERE art_id = :art;
    END
    x = RDB$SET_CONTEXT ('USER_TRANSACTION', 'BRIVOLA_SALDI', '1');
  END
END^
CREATE PROCEDURE ricalcola_saldi_articolo (ART INTEGER)
AS
DECLARE da CHAR(31);
DECLARE m CHAR(7);
DECLARE bid INTEGER;
DECLARE carico SMALLINT;
DECLARE qta NUMERIC(9,2);
DECLARE rel NUMERIC(18,2);
DECLARE r_rel NUMERIC(18,2);
DECLARE dl NUMERIC(18,2);
DECLARE fa NUMERIC(18,2);
DECLARE fb NUMERIC(18,2);
DECLARE s NUMERIC(18,2);
DECLARE l NUMERIC(18,2);
DECLARE d NUMERIC(18,2);
DECLARE b_s NUMERIC(18,2);
DECLARE b_l NUMERIC(18,2);
DECLARE b_a NUMERIC(18,2);
BEGIN
  SELECT da_ricalcolare FROM saldi_articolo WHERE art_id = :art INTO :da;
  IF (da IS NULL) THEN
    EXIT;
  FOR SELECT id FROM saldi_blocco
       WHERE art_id = :art AND da_ricalcolare IS NOT NULL
       PLAN (saldi_blocco INDEX (ix_saldi_blocco_mese))
        INTO :bid
  DO
  BEGIN
    rel = 0;
    dl = 0;
    fa = 0;
    fb = 0;
    FOR SELECT carico, qta, saldo_rel FROM saldi_riga
         WHERE blocco_id = :bid
         PLAN (saldi_riga ORDER ix_saldi_riga_blocco)
         ORDER BY blocco_id, saldo_id
          INTO :carico, :qta, :r_rel
    AS CURSOR c
    DO
    BEGIN
      IF (carico = 1) THEN
      BEGIN
        rel = rel + qta;
        IF (qta > 0) THEN
        BEGIN
          dl = dl + qta;
          fa = fa + qta;
          fb = fb + qta;
        END
      END
      ELSE
      BEGIN
        rel = rel - qta;
        IF (qta > 0) THEN
        BEGIN
          fa = fa - qta;
          fb = MAXVALUE (fb - qta, 0);
        END
      END
      IF (r_rel IS DISTINCT FROM rel) THEN
        UPDATE saldi_riga SET saldo_rel = :rel WHERE CURRENT OF c;
    END
    UPDATE saldi_blocco SET d_saldo = :rel, d_lotti = :dl, f_a = :fa, f_b = :fb, da_ricalcolare = NULL
     WHERE id = :bid;
  END
  m = SUBSTRING (da FROM 1 FOR 7);
  s = 0;
  l = 0;
  d = 0;
  SELECT FIRST 1 saldo_inizio + d_saldo, lotti_inizio + d_lotti,
         MAXVALUE (lotti_inizio - alloc_inizio + f_a, f_b)
    FROM saldi_blocco
   WHERE art_id = :art AND mese < :m
   PLAN (saldi_blocco ORDER ix_saldi_blocco_mese_desc)
   ORDER BY art_id DESC, mese DESC
    INTO :s, :l, :d;
  FOR SELECT saldo_inizio, lotti_inizio, alloc_inizio, d_saldo, d_lotti, f_a, f_b
        FROM saldi_blocco
       WHERE art_id = :art AND mese >= :m
       PLAN (saldi_blocco ORDER ix_saldi_blocco_mese)
       ORDER BY art_id, mese
        INTO :b_s, :b_l, :b_a, :rel, :dl, :fa, :fb
  AS CURSOR b
  DO
  BEGIN
    IF (b_s <> s OR b_l <> l OR b_a <> l - d) THEN
      UPDATE saldi_blocco SET saldo_inizio = :s, lotti_inizio = :l, alloc_inizio = :l - :d WHERE CURRENT OF b;
    s = s + rel;
    l = l + dl;
    d = MAXVALUE (d + fa, fb);
  END
  UPDATE saldi_articolo SET da_ricalcolare = NULL WHERE art_id = :art;
END^
CREATE PROCEDURE ricalcola_saldi
AS
DECLARE art INTEGER;
DECLARE x INTEGER;
BEGIN
  FOR SELECT art_id FROM saldi_articolo WHERE da_ricalcolare IS NOT NULL INTO :art DO
    EXECUTE PROCEDURE ricalcola_saldi_articolo (:art);
  x = RDB$SET_CONTEXT ('USER_TRANSACTION', 'BRIVOLA_SALDI', NULL);
END^
CREATE TRIGGER saldi_al_commit ACTIVE ON TRANSACTION COMMIT POSITION 0
AS
BEGIN
  IF (RDB$GET_CONTEXT ('USER_TRANSACTION', 'BRIVOLA_SALDI') IS NOT NULL) THEN
    EXECUTE PROCEDURE ricalcola_saldi;
END^
CREATE TRIGGER articoli_saldi_ins FOR articoli ACTIVE AFTER INSERT POSITION 0
AS
BEGIN
  INSERT INTO saldi_articolo (art_id) VALUES (NEW.id);
END^
CREATE TRIGGER articoli_saldi_del FOR articoli ACTIVE AFTER DELETE POSITION 0
AS
BEGIN
  DELETE FROM saldi_articolo WHERE art_id = OLD.id;
END^
CREATE TRIGGER righe_saldo_id FOR righe ACTIVE BEFORE INSERT OR UPDATE POSITION 0
AS
DECLARE d DATE;
DECLARE g CHAR(1);
BEGIN
  SELECT data, genere FROM documenti WHERE id = NEW.doc_id INTO :d, :g;
  NEW.saldo_id = COALESCE (CAST (d AS VARCHAR(10)), '9999-12-31') || IIF (g = 'C', '0', '1')
                 || LPAD (CAST (NEW.id AS VARCHAR(20)), 20, '0');
END^
CREATE TRIGGER righe_saldi_ins FOR righe ACTIVE AFTER INSERT POSITION 0
AS
DECLARE g CHAR(1);
DECLARE carico SMALLINT;
DECLARE prod SMALLINT;
DECLARE qta NUMERIC(9,2);
DECLARE uso NUMERIC(9,2);
DECLARE scarto NUMERIC(9,2);
DECLARE blocco INTEGER;
BEGIN
  SELECT genere FROM documenti WHERE id = NEW.doc_id INTO :g;
  carico = IIF (g = 'C', 1, 0);
  prod = IIF (g = 'P', 1, 0);
  qta = COALESCE (NEW.quantita, 0);
  uso = COALESCE (NEW.qta_uso, 0);
  scarto = COALESCE (NEW.qta_scarto, 0);
  EXECUTE PROCEDURE saldi_segna (NEW.art_id, NEW.saldo_id,
      carico * qta, (1 - carico) * qta, prod * uso, prod * scarto)
    RETURNING_VALUES :blocco;
  INSERT INTO saldi_riga (riga_id, art_id, saldo_id, carico, produzione, qta, qta_uso, qta_scarto, blocco_id)
  VALUES (NEW.id, NEW.art_id, NEW.saldo_id, :carico, :prod, :qta, :uso, :scarto, :blocco);
END^
CREATE TRIGGER righe_saldi_upd FOR righe ACTIVE AFTER UPDATE POSITION 0
AS
DECLARE g CHAR(1);
DECLARE o_art INTEGER;
DECLARE o_key CHAR(31);
DECLARE o_carico SMALLINT;
DECLARE o_prod SMALLINT;
DECLARE o_qta NUMERIC(9,2);
DECLARE o_uso NUMERIC(9,2);
DECLARE o_scarto NUMERIC(9,2);
DECLARE o_blocco INTEGER;
DECLARE carico SMALLINT;
DECLARE prod SMALLINT;
DECLARE qta NUMERIC(9,2);
DECLARE uso NUMERIC(9,2);
DECLARE scarto NUMERIC(9,2);
DECLARE blocco INTEGER;
BEGIN
  SELECT art_id, saldo_id, carico, produzione, qta, qta_uso, qta_scarto, blocco_id FROM saldi_riga
   WHERE riga_id = OLD.id
    INTO :o_art, :o_key, :o_carico, :o_prod, :o_qta, :o_uso, :o_scarto, :o_blocco;
  SELECT genere FROM documenti WHERE id = NEW.doc_id INTO :g;
  carico = IIF (g = 'C', 1, 0);
  prod = IIF (g = 'P', 1, 0);
  qta = COALESCE (NEW.quantita, 0);
  uso = COALESCE (NEW.qta_uso, 0);
  scarto = COALESCE (NEW.qta_scarto, 0);
  IF (o_art IS NOT DISTINCT FROM NEW.art_id AND o_key IS NOT DISTINCT FROM NEW.saldo_id
      AND o_carico = carico AND o_prod = prod AND o_qta = qta AND o_uso = uso AND o_scarto = scarto
      AND NEW.id = OLD.id) THEN
    EXIT;
  IF (o_art IS NULL) THEN
  BEGIN
    EXECUTE PROCEDURE saldi_segna (NEW.art_id, NEW.saldo_id,
        carico * qta, (1 - carico) * qta, prod * uso, prod * scarto)
      RETURNING_VALUES :blocco;
    INSERT INTO saldi_riga (riga_id, art_id, saldo_id, carico, produzione, qta, qta_uso, qta_scarto, blocco_id)
    VALUES (NEW.id, NEW.art_id, NEW.saldo_id, :carico, :prod, :qta, :uso, :scarto, :blocco);
    EXIT;
  END
  IF (o_art = NEW.art_id AND o_key = NEW.saldo_id AND o_carico = carico AND o_qta = qta) THEN
  BEGIN
    EXECUTE PROCEDURE saldi_segna (NEW.art_id, NULL, 0, 0,
        prod * uso - o_prod * o_uso, prod * scarto - o_prod * o_scarto)
      RETURNING_VALUES :blocco;
    blocco = o_blocco;
  END
  ELSE
  BEGIN
    EXECUTE PROCEDURE saldi_segna (o_art, o_key,
        - o_carico * o_qta, - (1 - o_carico) * o_qta, - o_prod * o_uso, - o_prod * o_scarto)
      RETURNING_VALUES :blocco;
    EXECUTE PROCEDURE saldi_segna (NEW.art_id, NEW.saldo_id,
        carico * qta, (1 - carico) * qta, prod * uso, prod * scarto)
      RETURNING_VALUES :blocco;
  END
  UPDATE saldi_riga
     SET riga_id = NEW.id, art_id = NEW.art_id, saldo_id = NEW.saldo_id, carico = :carico,
         produzione = :prod, qta = :qta, qta_uso = :uso, qta_scarto = :scarto, blocco_id = :blocco
   WHERE riga_id = OLD.id;
END^
CREATE TRIGGER righe_saldi_del FOR righe ACTIVE AFTER DELETE POSITION 0
AS
DECLARE o_art INTEGER;
DECLARE o_key CHAR(31);
DECLARE o_carico SMALLINT;
DECLARE o_prod SMALLINT;
DECLARE o_qta NUMERIC(9,2);
DECLARE o_uso NUMERIC(9,2);
DECLARE o_scarto NUMERIC(9,2);
DECLARE blocco INTEGER;
BEGIN
  SELECT art_id, saldo_id, carico, produzione, qta, qta_uso, qta_scarto FROM saldi_riga
   WHERE riga_id = OLD.id
    INTO :o_art, :o_key, :o_carico, :o_prod, :o_qta, :o_uso, :o_scarto;
  IF (o_art IS NULL) THEN
    EXIT;
  EXECUTE PROCEDURE saldi_segna (o_art, o_key,
      - o_carico * o_qta, - (1 - o_carico) * o_qta, - o_prod * o_uso, - o_prod * o_scarto)
    RETURNING_VALUES :blocco;
  DELETE FROM saldi_riga WHERE riga_id = OLD.id;
END^
CREATE TRIGGER documenti_saldi FOR documenti ACTIVE AFTER UPDATE POSITION 0
AS
BEGIN
  IF (NEW.data IS DISTINCT FROM OLD.data OR NEW.genere IS DISTINCT FROM OLD.genere) THEN
    UPDATE righe SET doc_id = doc_id WHERE doc_id = NEW.id;
END^
CREATE PROCEDURE "GetSaldo" (ART_ID INTEGER, SALDO_ID VARCHAR(31))
RETURNS (SALDO NUMERIC(18,2))
AS
BEGIN
  IF (RDB$GET_CONTEXT ('USER_TRANSACTION', 'BRIVOLA_SALDI') IS NOT NULL) THEN
    EXECUTE PROCEDURE ricalcola_saldi;
  SELECT b.saldo_inizio + r.saldo_rel
    FROM saldi_riga r JOIN saldi_blocco b ON b.id = r.blocco_id
   WHERE r.saldo_id = :saldo_id AND r.art_id = :art_id
   PLAN JOIN (r INDEX (ix_saldi_riga_chiave), b INDEX (pk_saldi_blocco))
    INTO :saldo;
  IF (ROW_COUNT = 0) THEN
  BEGIN
    saldo = 0;
    SELECT FIRST 1 b.saldo_inizio + r.saldo_rel
      FROM saldi_riga r JOIN saldi_blocco b ON b.id = r.blocco_id
     WHERE r.art_id = :art_id AND r.saldo_id <= :saldo_id
     PLAN JOIN (r ORDER ix_saldi_riga_ordine_desc, b INDEX (pk_saldi_blocco))
     ORDER BY r.art_id DESC, r.saldo_id DESC
      INTO :saldo;
  END
  SUSPEND;
END^
/* The consumption rows of an article from the month of a key on, with the stretch of the lot */
/* axis each one takes: [A0, A1). Months that end before position DA are skipped, and the walk */
/* stops at the first row that reaches position FINO. */
CREATE PROCEDURE saldi_consumi (ART INTEGER, CHIAVE CHAR(31), DA NUMERIC(18,2), FINO NUMERIC(18,2))
RETURNS (RIGA_ID INTEGER, SALDO_ID CHAR(31), A0 NUMERIC(18,2), A1 NUMERIC(18,2))
AS
DECLARE bid INTEGER;
DECLARE l NUMERIC(18,2);
DECLARE a NUMERIC(18,2);
DECLARE dl NUMERIC(18,2);
DECLARE fa NUMERIC(18,2);
DECLARE fb NUMERIC(18,2);
DECLARE carico SMALLINT;
DECLARE qta NUMERIC(9,2);
DECLARE fine SMALLINT = 0;
BEGIN
  mesi:
  FOR SELECT id, lotti_inizio, alloc_inizio, d_lotti, f_a, f_b FROM saldi_blocco
       WHERE art_id = :art AND mese >= SUBSTRING (:chiave FROM 1 FOR 7)
       PLAN (saldi_blocco ORDER ix_saldi_blocco_mese)
       ORDER BY art_id, mese
        INTO :bid, :l, :a, :dl, :fa, :fb
  DO
  BEGIN
    IF (a >= fino) THEN
      LEAVE mesi;
    IF (l + dl - MAXVALUE (l - a + fa, fb) > da) THEN
    BEGIN
      FOR SELECT riga_id, saldo_id, carico, qta FROM saldi_riga
           WHERE blocco_id = :bid
           PLAN (saldi_riga ORDER ix_saldi_riga_blocco)
           ORDER BY blocco_id, saldo_id
            INTO :riga_id, :saldo_id, :carico, :qta
      DO
      BEGIN
        IF (qta > 0) THEN
        BEGIN
          IF (carico = 1) THEN
            l = l + qta;
          ELSE IF (l > a) THEN
          BEGIN
            a0 = a;
            a = a + MINVALUE (qta, l - a);
            a1 = a;
            IF (a1 > da) THEN
              SUSPEND;
            IF (a1 >= fino) THEN
            BEGIN
              fine = 1;
              LEAVE;
            END
          END
        END
      END
      IF (fine = 1) THEN
        LEAVE mesi;
    END
  END
END^
/* Lots loaded before a key: the loads of the article with a smaller SALDO_ID. */
CREATE PROCEDURE saldi_lotti_prima (ART INTEGER, CHIAVE CHAR(31))
RETURNS (LOTTI NUMERIC(18,2))
AS
DECLARE bid INTEGER;
DECLARE k CHAR(31);
DECLARE carico SMALLINT;
DECLARE qta NUMERIC(9,2);
BEGIN
  lotti = 0;
  bid = NULL;
  SELECT FIRST 1 r.blocco_id, r.saldo_id FROM saldi_riga r
   WHERE r.art_id = :art AND r.saldo_id < :chiave
   PLAN (r ORDER ix_saldi_riga_ordine_desc)
   ORDER BY r.art_id DESC, r.saldo_id DESC
    INTO :bid, :k;
  IF (bid IS NULL) THEN
    EXIT;
  SELECT lotti_inizio FROM saldi_blocco WHERE id = :bid INTO :lotti;
  FOR SELECT carico, qta FROM saldi_riga
       WHERE blocco_id = :bid AND saldo_id <= :k
       PLAN (saldi_riga ORDER ix_saldi_riga_blocco)
       ORDER BY blocco_id, saldo_id
        INTO :carico, :qta
  DO
    IF (carico = 1 AND qta > 0) THEN
      lotti = lotti + qta;
END^
CREATE PROCEDURE "DaiInizioUtilizzo" (ART_ID INTEGER, SALDO_ID VARCHAR(31), QUANTITA NUMERIC(18,2))
RETURNS (INIZIO_UTILIZZO DATE, FINE_UTILIZZO DATE)
AS
DECLARE da NUMERIC(18,2);
DECLARE fino NUMERIC(18,2);
DECLARE k CHAR(31);
DECLARE a1 NUMERIC(18,2);
BEGIN
  IF (RDB$GET_CONTEXT ('USER_TRANSACTION', 'BRIVOLA_SALDI') IS NOT NULL) THEN
    EXECUTE PROCEDURE ricalcola_saldi;
  inizio_utilizzo = NULL;
  fine_utilizzo = NULL;
  IF (quantita > 0) THEN
  BEGIN
    EXECUTE PROCEDURE saldi_lotti_prima (:art_id, :saldo_id) RETURNING_VALUES :da;
    fino = da + quantita;
    FOR SELECT saldo_id, a1 FROM saldi_consumi (:art_id, :saldo_id, :da, :fino) INTO :k, :a1 DO
    BEGIN
      IF (inizio_utilizzo IS NULL) THEN
        inizio_utilizzo = CAST (SUBSTRING (k FROM 1 FOR 10) AS DATE);
      IF (a1 >= fino) THEN
        fine_utilizzo = CAST (SUBSTRING (k FROM 1 FOR 10) AS DATE);
    END
  END
  SUSPEND;
END^
CREATE PROCEDURE "DaiProduzioni" (ID_RIGA INTEGER)
RETURNS (PROD_ID_O INTEGER, QTA_O NUMERIC(9,2))
AS
DECLARE art INTEGER;
DECLARE k CHAR(31);
DECLARE carico SMALLINT;
DECLARE qta NUMERIC(9,2);
DECLARE da NUMERIC(18,2);
DECLARE fino NUMERIC(18,2);
DECLARE a0 NUMERIC(18,2);
DECLARE a1 NUMERIC(18,2);
BEGIN
  IF (RDB$GET_CONTEXT ('USER_TRANSACTION', 'BRIVOLA_SALDI') IS NOT NULL) THEN
    EXECUTE PROCEDURE ricalcola_saldi;
  SELECT art_id, saldo_id, carico, qta FROM saldi_riga WHERE riga_id = :id_riga INTO :art, :k, :carico, :qta;
  IF (carico IS DISTINCT FROM 1 OR qta <= 0) THEN
    EXIT;
  EXECUTE PROCEDURE saldi_lotti_prima (:art, :k) RETURNING_VALUES :da;
  fino = da + qta;
  FOR SELECT riga_id, a0, a1 FROM saldi_consumi (:art, :k, :da, :fino) INTO :prod_id_o, :a0, :a1 DO
  BEGIN
    qta_o = MINVALUE (a1, fino) - MAXVALUE (a0, da);
    SUSPEND;
  END
END^
/* The stretch of the lot axis a consumption row takes (from its month's state and the month's */
/* rows before it), then the loads that hold that stretch, from the first month whose lots reach */
/* past its start. */
CREATE PROCEDURE "DaiForniture" (ID_RIGA INTEGER)
RETURNS (FORN_ID_O INTEGER, QTA_O NUMERIC(9,2))
AS
DECLARE art INTEGER;
DECLARE k CHAR(31);
DECLARE carico SMALLINT;
DECLARE qta NUMERIC(9,2);
DECLARE bid INTEGER;
DECLARE l NUMERIC(18,2);
DECLARE a NUMERIC(18,2);
DECLARE dl NUMERIC(18,2);
DECLARE a0 NUMERIC(18,2);
DECLARE a1 NUMERIC(18,2);
DECLARE l0 NUMERIC(18,2);
DECLARE c SMALLINT;
DECLARE x NUMERIC(9,2);
DECLARE r INTEGER;
DECLARE fine SMALLINT = 0;
BEGIN
  IF (RDB$GET_CONTEXT ('USER_TRANSACTION', 'BRIVOLA_SALDI') IS NOT NULL) THEN
    EXECUTE PROCEDURE ricalcola_saldi;
  SELECT art_id, saldo_id, carico, qta, blocco_id FROM saldi_riga WHERE riga_id = :id_riga
    INTO :art, :k, :carico, :qta, :bid;
  IF (carico IS DISTINCT FROM 0 OR qta <= 0) THEN
    EXIT;
  SELECT lotti_inizio, alloc_inizio FROM saldi_blocco WHERE id = :bid INTO :l, :a;
  FOR SELECT carico, qta FROM saldi_riga
       WHERE blocco_id = :bid AND saldo_id < :k
       PLAN (saldi_riga ORDER ix_saldi_riga_blocco)
       ORDER BY blocco_id, saldo_id
        INTO :c, :x
  DO
    IF (x > 0) THEN
    BEGIN
      IF (c = 1) THEN
        l = l + x;
      ELSE IF (l > a) THEN
        a = a + MINVALUE (x, l - a);
    END
  IF (l <= a) THEN
    EXIT;
  a0 = a;
  a1 = a + MINVALUE (qta, l - a);
  mesi:
  FOR SELECT id, lotti_inizio, d_lotti FROM saldi_blocco
       WHERE art_id = :art
       PLAN (saldi_blocco ORDER ix_saldi_blocco_mese)
       ORDER BY art_id, mese
        INTO :bid, :l, :dl
  DO
  BEGIN
    IF (l + dl > a0) THEN
    BEGIN
      FOR SELECT riga_id, carico, qta FROM saldi_riga
           WHERE blocco_id = :bid
           PLAN (saldi_riga ORDER ix_saldi_riga_blocco)
           ORDER BY blocco_id, saldo_id
            INTO :r, :c, :x
      DO
      BEGIN
        IF (c = 1 AND x > 0) THEN
        BEGIN
          l0 = l;
          l = l + x;
          IF (l > a0) THEN
          BEGIN
            forn_id_o = r;
            qta_o = MINVALUE (l, a1) - MAXVALUE (l0, a0);
            SUSPEND;
            IF (l >= a1) THEN
            BEGIN
              fine = 1;
              LEAVE;
            END
          END
        END
      END
      IF (fine = 1) THEN
        LEAVE mesi;
    END
  END
END^
SET TERM ; ^
COMMIT;
/* === Stock objects: end === */

/* ===== Version and installation settings ===== */

/* The settings row: company name, VAT number and certification code are set when the */
/* installation is prepared, the recipe password is empty (no password). */
INSERT INTO codici (CODICE_CERT, PASS_RIC, IDENTIFICATIVO, PIVA) VALUES (NULL, NULL, '', '');

/* The schema version comes last, so that a database is at 1.13 only once all of the above is in. */
INSERT INTO dummy (VERSION) VALUES ('1.13');

COMMIT;
