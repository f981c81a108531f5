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
CREATE PROCEDURE saldi_segna (ART INTEGER, CHIAVE CHAR(31),
    D_CARICO NUMERIC(18,2), D_SCARICO NUMERIC(18,2), D_USO NUMERIC(18,2), D_SCARTO NUMERIC(18,2))
RETURNS (BLOCCO INTEGER)
AS
DECLARE m CHAR(7);
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
      blocco = NEXT VALUE FOR saldi_blocco_seq;
      INSERT INTO saldi_blocco (id, art_id, mese, da_ricalcolare) VALUES (:blocco, :art, :m, :chiave);
    END
    x = RDB$SET_CONTEXT ('USER_TRANSACTION', 'BRIVOLA_SALDI', '1');
  END
END^
CREATE PROCEDURE ricalcola_saldi_articolo (ART INTEGER)
AS
DECLARE da CHAR(31);
DECLARE m CHAR(7);
DECLARE bid INTEGER;
DECLARE n INTEGER;
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
    n = 0;
    FOR SELECT carico, qta, saldo_rel FROM saldi_riga
         WHERE blocco_id = :bid
         PLAN (saldi_riga ORDER ix_saldi_riga_blocco)
         ORDER BY blocco_id, saldo_id
          INTO :carico, :qta, :r_rel
    AS CURSOR c
    DO
    BEGIN
      n = n + 1;
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
    IF (n = 0) THEN
      DELETE FROM saldi_blocco WHERE id = :bid;
    ELSE
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
  saldo = NULL;
  SELECT b.saldo_inizio + r.saldo_rel
    FROM saldi_riga r JOIN saldi_blocco b ON b.id = r.blocco_id
   WHERE r.saldo_id = :saldo_id AND r.art_id = :art_id
   PLAN JOIN (r INDEX (ix_saldi_riga_chiave), b INDEX (pk_saldi_blocco))
    INTO :saldo;
  IF (saldo IS NULL) THEN
    SELECT FIRST 1 b.saldo_inizio + r.saldo_rel
      FROM saldi_riga r JOIN saldi_blocco b ON b.id = r.blocco_id
     WHERE r.art_id = :art_id AND r.saldo_id <= :saldo_id
     PLAN JOIN (r ORDER ix_saldi_riga_ordine_desc, b INDEX (pk_saldi_blocco))
     ORDER BY r.art_id DESC, r.saldo_id DESC
      INTO :saldo;
  saldo = COALESCE (saldo, 0);
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
  /* The stretch this row takes: the month's state, then the month's rows before it. */
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
  /* The loads that hold that stretch, from the first month whose lots reach past its start. */
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
