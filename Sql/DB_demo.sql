/* Brivola: demonstration workshop, run after DB_create.sql on a new database. */
/* Same line rules as DB_create.sql: every statement ends with a line ending in ";", */
/* no other line does, comments are block comments on lines of their own and never */
/* directly before a COMMIT line. */
/* Keys are written from 1 upwards in each table; the key counters are set at the end */
/* from the highest keys, so rows added to any section below need no counter changes. */

/* ===== The installation ===== */

UPDATE codici SET IDENTIFICATIVO = 'Gelateria La Pergola di Rinaldi Marta & C. s.n.c. - Castelnuovo Rangone (MO)', PIVA = '03764180364', CODICE_CERT = 'NV-0137/2024';

/* ===== Suppliers ===== */
/* Companies and addresses are invented; each VAT number carries a valid check digit */
/* and, being a company's, is also its tax code. */

INSERT INTO anagrafica (ID, RAGIONE, PART_IVA, COD_FISC, INDIRIZZO, LUOGO, CAP, TEL1, TEL2, FAX, EMAIL, WEB) VALUES (1, 'Latteria Sociale di Montecorone Soc. Agr. Coop.', '03182740369', '03182740369', 'Via Provinciale per Montecorone, 112', 'Zocca (MO)', '41059', '059 987214', NULL, '059 987215', 'ordini@latteriamontecorone.it', 'www.latteriamontecorone.it');
INSERT INTO anagrafica (ID, RAGIONE, PART_IVA, COD_FISC, INDIRIZZO, LUOGO, CAP, TEL1, TEL2, FAX, EMAIL, WEB) VALUES (2, 'Caseificio Fratelli Baraldi s.r.l.', '02745190369', '02745190369', 'Via Radici in Piano, 455', 'Sassuolo (MO)', '41049', '0536 803117', '335 6120488', NULL, 'info@caseificiobaraldi.it', 'www.caseificiobaraldi.it');
INSERT INTO anagrafica (ID, RAGIONE, PART_IVA, COD_FISC, INDIRIZZO, LUOGO, CAP, TEL1, TEL2, FAX, EMAIL, WEB) VALUES (3, 'Ortofrutta Mercato Verde s.r.l.', '02918430360', '02918430360', 'Via Emilia Est, 1260', 'Modena (MO)', '41122', '059 372905', '347 2290164', '059 372906', 'vendite@mercatoverde-mo.it', 'www.mercatoverde-mo.it');
INSERT INTO anagrafica (ID, RAGIONE, PART_IVA, COD_FISC, INDIRIZZO, LUOGO, CAP, TEL1, TEL2, FAX, EMAIL, WEB) VALUES (4, 'Dolciaria Emiliana Forniture s.r.l.', '03650170370', '03650170370', 'Via del Lavoro, 28', 'Bologna (BO)', '40127', '051 6391472', NULL, '051 6391473', 'ordini@dolciariaemiliana.it', 'www.dolciariaemiliana.it');
INSERT INTO anagrafica (ID, RAGIONE, PART_IVA, COD_FISC, INDIRIZZO, LUOGO, CAP, TEL1, TEL2, FAX, EMAIL, WEB) VALUES (5, 'Avicola Colli Bolognesi s.r.l.', '04129680379', '04129680379', 'Via Bazzanese, 87', 'Valsamoggia (BO)', '40053', '051 830642', '338 9017735', NULL, 'info@avicolacollibolognesi.it', 'www.avicolacollibolognesi.it');
INSERT INTO anagrafica (ID, RAGIONE, PART_IVA, COD_FISC, INDIRIZZO, LUOGO, CAP, TEL1, TEL2, FAX, EMAIL, WEB) VALUES (6, 'Agrumi Trinacria s.r.l.', '03882050879', '03882050879', 'Via Nazionale per Catania, 214', 'Acireale (CT)', '95024', '095 7648120', '349 5510273', '095 7648121', 'commerciale@agrumitrinacria.it', 'www.agrumitrinacria.it');
INSERT INTO anagrafica (ID, RAGIONE, PART_IVA, COD_FISC, INDIRIZZO, LUOGO, CAP, TEL1, TEL2, FAX, EMAIL, WEB) VALUES (7, 'Nocciole Langa Bianca s.r.l.', '03014760049', '03014760049', 'Strada Provinciale 429, 15', 'Cortemilia (CN)', '12074', '0173 812456', NULL, '0173 812457', 'ordini@langabianca.it', 'www.langabianca.it');
INSERT INTO anagrafica (ID, RAGIONE, PART_IVA, COD_FISC, INDIRIZZO, LUOGO, CAP, TEL1, TEL2, FAX, EMAIL, WEB) VALUES (8, 'Pistacchi dell''Etna di Bruno & Figli s.a.s.', '02563910872', '02563910872', 'Via Messina, 61', 'Bronte (CT)', '95034', '095 691238', '340 7781526', NULL, 'info@pistacchidelletna-bruno.it', 'www.pistacchidelletna-bruno.it');
INSERT INTO anagrafica (ID, RAGIONE, PART_IVA, COD_FISC, INDIRIZZO, LUOGO, CAP, TEL1, TEL2, FAX, EMAIL, WEB) VALUES (9, 'Cioccolateria Sabauda Ingrosso s.r.l.', '03398420012', '03398420012', 'Corso Vercelli, 318', 'Torino (TO)', '10156', '011 2734519', NULL, '011 2734520', 'ordini@sabaudaingrosso.it', 'www.sabaudaingrosso.it');
INSERT INTO anagrafica (ID, RAGIONE, PART_IVA, COD_FISC, INDIRIZZO, LUOGO, CAP, TEL1, TEL2, FAX, EMAIL, WEB) VALUES (10, 'Ghiaccioblu Ingredienti per Gelateria s.r.l.', '04205770995', '04205770995', 'Via Emilia, 124', 'Rimini (RN)', '47921', '0541 742093', '333 4806621', '0541 742094', 'servizioclienti@ghiaccioblu.it', 'www.ghiaccioblu.it');
INSERT INTO anagrafica (ID, RAGIONE, PART_IVA, COD_FISC, INDIRIZZO, LUOGO, CAP, TEL1, TEL2, FAX, EMAIL, WEB) VALUES (11, 'Frutti di Bosco Val di Non Soc. Coop. Agricola', '01976300226', '01976300226', 'Via Trento, 44', 'Cles (TN)', '38023', '0463 421687', NULL, '0463 421688', 'info@fruttidibosco-valdinon.it', 'www.fruttidibosco-valdinon.it');
INSERT INTO anagrafica (ID, RAGIONE, PART_IVA, COD_FISC, INDIRIZZO, LUOGO, CAP, TEL1, TEL2, FAX, EMAIL, WEB) VALUES (12, 'Cash & Carry Secchia s.r.l.', '03491620369', '03491620369', 'Via Canaletto Sud, 333', 'Modena (MO)', '41122', '059 451276', NULL, '059 451277', 'clienti@cashcarrysecchia.it', 'www.cashcarrysecchia.it');

/* ===== Ingredients ===== */
/* Composition in percent by weight, from food composition tables (CREA, USDA FoodData */
/* Central) and, for the technical ingredients, from typical product sheets. Lactose is */
/* kept apart from the other sugars; other solids are fibre, starch, minerals and the */
/* like. Prices in euro per unit of measure. */

/* Water */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (1, 'Acqua', 'LT', '00', NULL, 1, 0.01, 0, 0, 0, 0, 0, 100);

/* Milk and dairy */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (2, 'Latte intero fresco', 'LT', '01', 'S01', 1, 1.15, 0, 3.60, 3.30, 4.90, 0.70, 87.50);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (3, 'Latte scremato in polvere', 'KG', '01', 'S04', 1, 3.90, 0, 0.80, 36.00, 52.00, 8.00, 3.20);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (4, 'Latte intero in polvere', 'KG', '01', 'S04', 1, 5.80, 0, 26.70, 26.30, 38.40, 6.10, 2.50);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (5, 'Panna fresca 35%', 'LT', '01', 'S01', 1, 4.20, 0, 35.00, 2.20, 3.00, 0.50, 59.30);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (6, 'Burro', 'KG', '01', 'S01', 1, 8.50, 0, 82.00, 0.85, 0.10, 0.05, 17.00);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (7, 'Mascarpone', 'KG', '01', 'S01', 1, 6.90, 0, 44.00, 4.60, 3.50, 0.60, 47.30);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (8, 'Yogurt intero', 'KG', '01', 'S01', 1, 2.60, 0, 3.30, 3.50, 4.00, 1.40, 87.80);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (9, 'Ricotta vaccina', 'KG', '01', 'S01', 1, 5.20, 0, 10.90, 8.80, 3.50, 1.10, 75.70);

/* Eggs */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (10, 'Tuorlo d''uovo', 'KG', '02', 'S02', 1, 6.50, 0.60, 26.50, 15.90, 0, 4.70, 52.30);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (11, 'Uovo intero pastorizzato', 'KG', '02', 'S02', 1, 3.20, 0.40, 9.50, 12.60, 0, 1.40, 76.10);

/* Sugars */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (12, 'Saccarosio', 'KG', '03', 'S04', 1, 1.05, 99.90, 0, 0, 0, 0, 0.10);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (13, 'Destrosio monoidrato', 'KG', '03', 'S04', 1, 1.60, 91.50, 0, 0, 0, 0, 8.50);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (14, 'Glucosio disidratato DE 38', 'KG', '03', 'S04', 1, 2.20, 95.00, 0, 0, 0, 0, 5.00);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (15, 'Zucchero invertito', 'KG', '03', 'S05', 1, 2.50, 78.00, 0, 0, 0, 0, 22.00);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (16, 'Miele millefiori', 'KG', '03', 'S05', 1, 9.50, 82.10, 0, 0.30, 0, 0.50, 17.10);

/* Vegetable fats */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (17, 'Olio di cocco deodorato', 'KG', '04', 'S06', 1, 7.50, 0, 99.90, 0, 0, 0, 0.10);

/* Cocoa and chocolate */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (18, 'Cacao in polvere 22-24%', 'KG', '05', 'S04', 1, 9.80, 0.50, 22.00, 19.60, 0, 54.90, 3.00);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (19, 'Cioccolato fondente 70%', 'KG', '05', 'S04', 1, 12.50, 24.00, 42.60, 7.80, 0, 24.20, 1.40);

/* Nuts and nut pastes */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (20, 'Pasta nocciola pura', 'KG', '06', 'S06', 1, 26.00, 4.30, 62.00, 15.00, 0, 17.50, 1.20);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (21, 'Pasta pistacchio pura', 'KG', '06', 'S06', 1, 42.00, 7.70, 46.00, 21.00, 0, 23.40, 1.90);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (22, 'Mandorle pelate', 'KG', '06', 'S04', 1, 11.50, 4.40, 49.90, 21.20, 0, 20.10, 4.40);

/* Stabilisers and fibres */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (23, 'Farina di semi di carrube', 'KG', '07', 'S04', 1, 14.00, 0, 0.50, 5.00, 0, 82.50, 12.00);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (24, 'Farina di semi di guar', 'KG', '07', 'S04', 1, 9.00, 0, 0.60, 4.50, 0, 82.90, 12.00);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (25, 'Inulina', 'KG', '07', 'S04', 1, 6.50, 8.00, 0, 0, 0, 88.00, 4.00);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (26, 'Maltodestrina DE 19', 'KG', '07', 'S04', 1, 1.90, 7.00, 0, 0, 0, 88.00, 5.00);

/* Flavourings and spices */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (27, 'Bacche di vaniglia Bourbon', 'KG', '09', 'S04', 1, 420.00, 10.00, 11.00, 3.00, 0, 51.00, 25.00);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (28, 'Sale marino fino', 'KG', '09', 'S04', 1, 0.80, 0, 0, 0, 0, 99.80, 0.20);

/* Coffee */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (29, 'Caffè solubile liofilizzato', 'KG', '20', 'S04', 1, 28.00, 0, 0.50, 12.20, 0, 84.20, 3.10);

/* Fresh fruit */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (30, 'Fragole', 'KG', '10', 'S03', 1, 4.50, 4.90, 0.30, 0.70, 0, 3.20, 90.90);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (31, 'Pesche', 'KG', '10', 'S03', 1, 2.80, 8.40, 0.30, 0.90, 0, 1.60, 88.80);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (32, 'Melone', 'KG', '10', 'S03', 1, 2.20, 7.90, 0.20, 0.80, 0, 1.00, 90.10);

/* Berries */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (33, 'Lamponi', 'KG', '11', 'S03', 1, 12.00, 4.40, 0.70, 1.20, 0, 8.00, 85.70);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (34, 'Mirtilli', 'KG', '11', 'S03', 1, 10.50, 10.00, 0.30, 0.70, 0, 4.80, 84.20);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (35, 'Frutti di bosco misti surgelati', 'KG', '11', 'S07', 1, 7.50, 6.00, 0.40, 0.90, 0, 5.70, 87.00);

/* Citrus fruit */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (36, 'Limoni', 'KG', '12', 'S03', 1, 2.40, 2.50, 0.30, 1.10, 0, 7.10, 89.00);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (37, 'Arance', 'KG', '12', 'S03', 1, 1.60, 9.40, 0.10, 0.90, 0, 2.80, 86.80);

/* Exotic fruit */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (38, 'Banane', 'KG', '13', 'S03', 1, 1.90, 12.20, 0.30, 1.10, 0, 11.50, 74.90);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (39, 'Mango', 'KG', '13', 'S03', 1, 4.80, 13.70, 0.40, 0.80, 0, 1.70, 83.40);
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (40, 'Ananas', 'KG', '13', 'S03', 1, 2.30, 9.90, 0.10, 0.50, 0, 3.50, 86.00);

/* Fruit purée and pulp */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (41, 'Polpa di albicocca', 'KG', '14', 'S03', 1, 4.20, 9.20, 0.40, 1.40, 0, 2.60, 86.40);

/* Ripples and sauces */
INSERT INTO articoli (ID, NOME, UM, CATEGORIA, CAT_STATO, PREFERITO, PREZZO, ZUCCHERI, GRASSI, PROTEINE, LATTOSIO, ALTRI_SOLIDI, ACQUA) VALUES (42, 'Variegato all''amarena', 'KG', '21', 'S05', 1, 9.50, 60.00, 0.10, 0.50, 0, 1.40, 38.00);

/* ===== Recipes ===== */
/* Recipes are articles of a recipe category, with their components in sottoarticoli. */

/* ===== Movements ===== */
/* Loads, production runs and other uses: documenti with their righe. */

/* ===== Key counters ===== */
/* Each counter is the highest key of its table, so that the next key handed out is new. */
UPDATE keygen SET ANAGRAFICA = (SELECT COALESCE(MAX(ID), 0) FROM anagrafica), ARTICOLI = (SELECT COALESCE(MAX(ID), 0) FROM articoli), DOCUMENTI = (SELECT COALESCE(MAX(ID), 0) FROM documenti), RIGHE = (SELECT COALESCE(MAX(ID), 0) FROM righe);

COMMIT;
