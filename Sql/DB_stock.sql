/* Stock kept by the database. */
/* */
/* righe.SALDO_ID orders an article's movements in time: the document date "YYYY-MM-DD", "0" for a */
/* load and "1" for any other row (so the goods that arrive on a day can be used that same day), */
/* and the row ID padded with zeros to 20 digits. A document without a date sorts after every dated */
/* one ("9999-12-31"). */
/* */
/* saldi_riga holds, for every row, what the row counts for (article, key, load or not, quantity) */
/* and the figures after it in its article's SALDO_ID order: the running balance, the lots loaded */
/* so far and the consumption allocated to lots so far, and the row's own stretch [POS_INIZIO, */
/* POS_FINE) of the allocation axis. Loads fill the axis in key order; a consumption row takes the */
/* next stretch, but only as far as the lots already arrived reach: what they cannot cover is not */
/* allocated to any lot (stock goes negative and no later load is charged with it). Rows with a */
/* quantity not above zero count for the balance only. */
/* */
/* saldi_articolo holds one row per article: the totals, the production use and waste for the */
/* average waste, and the range of keys whose running figures must be recomputed. Every change of */
/* an article's rows updates its row here first, so two transactions cannot change the same */
/* article's movements at once (nowait: the second gets the lock conflict). The row triggers only */
/* record the change; the running figures are recomputed by RICALCOLA_SALDI before any procedure */
/* reads them in the same transaction and, at the latest, when the transaction commits. */
CREATE TABLE saldi_articolo (
ART_ID INTEGER NOT NULL PRIMARY KEY,
CARICO NUMERIC(18,2) DEFAULT 0 NOT NULL,
SCARICO NUMERIC(18,2) DEFAULT 0 NOT NULL,
USO_PROD NUMERIC(18,2) DEFAULT 0 NOT NULL,
SCARTO_PROD NUMERIC(18,2) DEFAULT 0 NOT NULL,
DA_RICALCOLARE CHAR(31),
A_RICALCOLARE CHAR(31));
CREATE INDEX ix_saldi_articolo_sporchi ON saldi_articolo (DA_RICALCOLARE);
CREATE TABLE saldi_riga (
RIGA_ID INTEGER NOT NULL PRIMARY KEY,
ART_ID INTEGER NOT NULL,
SALDO_ID CHAR(31) NOT NULL,
CARICO SMALLINT NOT NULL,
PRODUZIONE SMALLINT NOT NULL,
QTA NUMERIC(9,2) NOT NULL,
QTA_USO NUMERIC(9,2) NOT NULL,
QTA_SCARTO NUMERIC(9,2) NOT NULL,
SALDO NUMERIC(18,2),
CUM_LOTTI NUMERIC(18,2),
CUM_ALLOC NUMERIC(18,2),
POS_INIZIO NUMERIC(18,2),
POS_FINE NUMERIC(18,2));
CREATE UNIQUE INDEX ix_saldi_riga_chiave ON saldi_riga (SALDO_ID);
CREATE INDEX ix_saldi_riga_ordine ON saldi_riga (ART_ID, SALDO_ID);
CREATE DESCENDING INDEX ix_saldi_riga_ordine_desc ON saldi_riga (ART_ID, SALDO_ID);
CREATE INDEX ix_saldi_riga_lotti ON saldi_riga (ART_ID, CARICO, POS_FINE);
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
CREATE PROCEDURE saldi_segna (ART INTEGER, DA CHAR(31), A CHAR(31),
    D_CARICO NUMERIC(18,2), D_SCARICO NUMERIC(18,2), D_USO NUMERIC(18,2), D_SCARTO NUMERIC(18,2))
AS
DECLARE x INTEGER;
BEGIN
  UPDATE saldi_articolo
     SET carico = carico + :d_carico, scarico = scarico + :d_scarico,
         uso_prod = uso_prod + :d_uso, scarto_prod = scarto_prod + :d_scarto,
         da_ricalcolare = IIF (:da IS NULL OR (da_ricalcolare IS NOT NULL AND da_ricalcolare <= :da), da_ricalcolare, :da),
         a_ricalcolare = IIF (:a IS NULL OR (a_ricalcolare IS NOT NULL AND a_ricalcolare >= :a), a_ricalcolare, :a)
   WHERE art_id = :art;
  IF (ROW_COUNT = 0) THEN
    INSERT INTO saldi_articolo (art_id, carico, scarico, uso_prod, scarto_prod, da_ricalcolare, a_ricalcolare)
    VALUES (:art, :d_carico, :d_scarico, :d_uso, :d_scarto, :da, :a);
  IF (da IS NOT NULL) THEN
    x = RDB$SET_CONTEXT ('USER_TRANSACTION', 'BRIVOLA_SALDI', '1');
END^
CREATE PROCEDURE ricalcola_saldi_articolo (ART INTEGER)
AS
DECLARE da CHAR(31);
DECLARE a CHAR(31);
DECLARE saldo NUMERIC(18,2) = 0;
DECLARE lotti NUMERIC(18,2) = 0;
DECLARE alloc NUMERIC(18,2) = 0;
DECLARE k CHAR(31);
DECLARE carico SMALLINT;
DECLARE qta NUMERIC(9,2);
DECLARE r_saldo NUMERIC(18,2);
DECLARE r_lotti NUMERIC(18,2);
DECLARE r_alloc NUMERIC(18,2);
DECLARE r_pi NUMERIC(18,2);
DECLARE r_pf NUMERIC(18,2);
DECLARE pi NUMERIC(18,2);
DECLARE pf NUMERIC(18,2);
BEGIN
  SELECT da_ricalcolare, a_ricalcolare FROM saldi_articolo WHERE art_id = :art INTO :da, :a;
  IF (da IS NULL) THEN
    EXIT;
  SELECT FIRST 1 saldo, cum_lotti, cum_alloc FROM saldi_riga
   WHERE art_id = :art AND saldo_id < :da
   PLAN (saldi_riga ORDER ix_saldi_riga_ordine_desc)
   ORDER BY art_id DESC, saldo_id DESC
    INTO :saldo, :lotti, :alloc;
  FOR SELECT saldo_id, carico, qta, saldo, cum_lotti, cum_alloc, pos_inizio, pos_fine
        FROM saldi_riga
       WHERE art_id = :art AND saldo_id >= :da
       PLAN (saldi_riga ORDER ix_saldi_riga_ordine)
       ORDER BY art_id, saldo_id
        INTO :k, :carico, :qta, :r_saldo, :r_lotti, :r_alloc, :r_pi, :r_pf
  AS CURSOR c
  DO
  BEGIN
    pi = NULL;
    pf = NULL;
    IF (carico = 1) THEN
    BEGIN
      saldo = saldo + qta;
      IF (qta > 0) THEN
      BEGIN
        pi = lotti;
        lotti = lotti + qta;
        pf = lotti;
      END
    END
    ELSE
    BEGIN
      saldo = saldo - qta;
      IF (qta > 0 AND lotti > alloc) THEN
      BEGIN
        pi = alloc;
        alloc = alloc + MINVALUE (qta, lotti - alloc);
        pf = alloc;
      END
    END
    IF (r_pi IS DISTINCT FROM pi OR r_pf IS DISTINCT FROM pf OR r_saldo IS DISTINCT FROM saldo
        OR r_lotti IS DISTINCT FROM lotti OR r_alloc IS DISTINCT FROM alloc) THEN
      UPDATE saldi_riga SET saldo = :saldo, cum_lotti = :lotti, cum_alloc = :alloc,
                            pos_inizio = :pi, pos_fine = :pf
       WHERE CURRENT OF c;
    ELSE IF (k >= a) THEN
      LEAVE;
  END
  UPDATE saldi_articolo SET da_ricalcolare = NULL, a_ricalcolare = NULL WHERE art_id = :art;
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
BEGIN
  SELECT genere FROM documenti WHERE id = NEW.doc_id INTO :g;
  carico = IIF (g = 'C', 1, 0);
  prod = IIF (g = 'P', 1, 0);
  qta = COALESCE (NEW.quantita, 0);
  uso = COALESCE (NEW.qta_uso, 0);
  scarto = COALESCE (NEW.qta_scarto, 0);
  EXECUTE PROCEDURE saldi_segna (NEW.art_id, NEW.saldo_id, NEW.saldo_id,
      carico * qta, (1 - carico) * qta, prod * uso, prod * scarto);
  INSERT INTO saldi_riga (riga_id, art_id, saldo_id, carico, produzione, qta, qta_uso, qta_scarto)
  VALUES (NEW.id, NEW.art_id, NEW.saldo_id, :carico, :prod, :qta, :uso, :scarto);
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
DECLARE carico SMALLINT;
DECLARE prod SMALLINT;
DECLARE qta NUMERIC(9,2);
DECLARE uso NUMERIC(9,2);
DECLARE scarto NUMERIC(9,2);
DECLARE da CHAR(31);
DECLARE a CHAR(31);
BEGIN
  SELECT art_id, saldo_id, carico, produzione, qta, qta_uso, qta_scarto FROM saldi_riga
   WHERE riga_id = OLD.id
    INTO :o_art, :o_key, :o_carico, :o_prod, :o_qta, :o_uso, :o_scarto;
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
    EXECUTE PROCEDURE saldi_segna (NEW.art_id, NEW.saldo_id, NEW.saldo_id,
        carico * qta, (1 - carico) * qta, prod * uso, prod * scarto);
    INSERT INTO saldi_riga (riga_id, art_id, saldo_id, carico, produzione, qta, qta_uso, qta_scarto)
    VALUES (NEW.id, NEW.art_id, NEW.saldo_id, :carico, :prod, :qta, :uso, :scarto);
    EXIT;
  END
  IF (o_art = NEW.art_id) THEN
  BEGIN
    da = NULL;
    a = NULL;
    IF (o_key <> NEW.saldo_id OR o_carico <> carico OR o_qta <> qta) THEN
    BEGIN
      da = MINVALUE (o_key, NEW.saldo_id);
      a = MAXVALUE (o_key, NEW.saldo_id);
    END
    EXECUTE PROCEDURE saldi_segna (NEW.art_id, :da, :a,
        carico * qta - o_carico * o_qta, (1 - carico) * qta - (1 - o_carico) * o_qta,
        prod * uso - o_prod * o_uso, prod * scarto - o_prod * o_scarto);
  END
  ELSE
  BEGIN
    EXECUTE PROCEDURE saldi_segna (o_art, o_key, o_key,
        - o_carico * o_qta, - (1 - o_carico) * o_qta, - o_prod * o_uso, - o_prod * o_scarto);
    EXECUTE PROCEDURE saldi_segna (NEW.art_id, NEW.saldo_id, NEW.saldo_id,
        carico * qta, (1 - carico) * qta, prod * uso, prod * scarto);
  END
  UPDATE saldi_riga
     SET riga_id = NEW.id, art_id = NEW.art_id, saldo_id = NEW.saldo_id, carico = :carico,
         produzione = :prod, qta = :qta, qta_uso = :uso, qta_scarto = :scarto
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
BEGIN
  SELECT art_id, saldo_id, carico, produzione, qta, qta_uso, qta_scarto FROM saldi_riga
   WHERE riga_id = OLD.id
    INTO :o_art, :o_key, :o_carico, :o_prod, :o_qta, :o_uso, :o_scarto;
  IF (o_art IS NULL) THEN
    EXIT;
  EXECUTE PROCEDURE saldi_segna (o_art, o_key, o_key,
      - o_carico * o_qta, - (1 - o_carico) * o_qta, - o_prod * o_uso, - o_prod * o_scarto);
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
  SELECT r.saldo FROM saldi_riga r WHERE r.saldo_id = :saldo_id AND r.art_id = :art_id
  PLAN (r INDEX (ix_saldi_riga_chiave))
    INTO :saldo;
  IF (saldo IS NULL) THEN
    SELECT FIRST 1 r.saldo FROM saldi_riga r
     WHERE r.art_id = :art_id AND r.saldo_id <= :saldo_id
     PLAN (r ORDER ix_saldi_riga_ordine_desc)
     ORDER BY r.art_id DESC, r.saldo_id DESC
      INTO :saldo;
  saldo = COALESCE (saldo, 0);
  SUSPEND;
END^
CREATE PROCEDURE "DaiInizioUtilizzo" (ART_ID INTEGER, SALDO_ID VARCHAR(31), QUANTITA NUMERIC(18,2))
RETURNS (INIZIO_UTILIZZO DATE, FINE_UTILIZZO DATE)
AS
DECLARE inizio NUMERIC(18,2);
DECLARE fine NUMERIC(18,2);
DECLARE k CHAR(31);
BEGIN
  IF (RDB$GET_CONTEXT ('USER_TRANSACTION', 'BRIVOLA_SALDI') IS NOT NULL) THEN
    EXECUTE PROCEDURE ricalcola_saldi;
  inizio_utilizzo = NULL;
  fine_utilizzo = NULL;
  IF (quantita > 0) THEN
  BEGIN
    inizio = 0;
    SELECT FIRST 1 r.cum_lotti FROM saldi_riga r
     WHERE r.art_id = :art_id AND r.saldo_id < :saldo_id
     PLAN (r ORDER ix_saldi_riga_ordine_desc)
     ORDER BY r.art_id DESC, r.saldo_id DESC
      INTO :inizio;
    fine = inizio + quantita;
    k = NULL;
    SELECT FIRST 1 r.saldo_id FROM saldi_riga r
     WHERE r.art_id = :art_id AND r.carico = 0 AND r.pos_fine > :inizio
     PLAN (r ORDER ix_saldi_riga_lotti)
     ORDER BY r.art_id, r.carico, r.pos_fine
      INTO :k;
    IF (k IS NOT NULL) THEN
      inizio_utilizzo = CAST (SUBSTRING (k FROM 1 FOR 10) AS DATE);
    k = NULL;
    SELECT FIRST 1 r.saldo_id FROM saldi_riga r
     WHERE r.art_id = :art_id AND r.carico = 0 AND r.pos_fine >= :fine
     PLAN (r ORDER ix_saldi_riga_lotti)
     ORDER BY r.art_id, r.carico, r.pos_fine
      INTO :k;
    IF (k IS NOT NULL) THEN
      fine_utilizzo = CAST (SUBSTRING (k FROM 1 FOR 10) AS DATE);
  END
  SUSPEND;
END^
CREATE PROCEDURE "DaiProduzioni" (ID_RIGA INTEGER)
RETURNS (PROD_ID_O INTEGER, QTA_O NUMERIC(9,2))
AS
DECLARE art INTEGER;
DECLARE inizio NUMERIC(18,2);
DECLARE fine NUMERIC(18,2);
DECLARE pi NUMERIC(18,2);
DECLARE pf NUMERIC(18,2);
BEGIN
  IF (RDB$GET_CONTEXT ('USER_TRANSACTION', 'BRIVOLA_SALDI') IS NOT NULL) THEN
    EXECUTE PROCEDURE ricalcola_saldi;
  SELECT art_id, pos_inizio, pos_fine FROM saldi_riga
   WHERE riga_id = :id_riga AND carico = 1
    INTO :art, :inizio, :fine;
  IF (fine IS NULL) THEN
    EXIT;
  FOR SELECT riga_id, pos_inizio, pos_fine FROM saldi_riga
       WHERE art_id = :art AND carico = 0 AND pos_fine > :inizio
       PLAN (saldi_riga ORDER ix_saldi_riga_lotti)
       ORDER BY art_id, carico, pos_fine
        INTO :prod_id_o, :pi, :pf
  DO
  BEGIN
    IF (pi >= fine) THEN
      LEAVE;
    qta_o = MINVALUE (pf, fine) - MAXVALUE (pi, inizio);
    SUSPEND;
  END
END^
CREATE PROCEDURE "DaiForniture" (ID_RIGA INTEGER)
RETURNS (FORN_ID_O INTEGER, QTA_O NUMERIC(9,2))
AS
DECLARE art INTEGER;
DECLARE inizio NUMERIC(18,2);
DECLARE fine NUMERIC(18,2);
DECLARE pi NUMERIC(18,2);
DECLARE pf NUMERIC(18,2);
BEGIN
  IF (RDB$GET_CONTEXT ('USER_TRANSACTION', 'BRIVOLA_SALDI') IS NOT NULL) THEN
    EXECUTE PROCEDURE ricalcola_saldi;
  SELECT art_id, pos_inizio, pos_fine FROM saldi_riga
   WHERE riga_id = :id_riga AND carico = 0
    INTO :art, :inizio, :fine;
  IF (fine IS NULL) THEN
    EXIT;
  FOR SELECT riga_id, pos_inizio, pos_fine FROM saldi_riga
       WHERE art_id = :art AND carico = 1 AND pos_fine > :inizio
       PLAN (saldi_riga ORDER ix_saldi_riga_lotti)
       ORDER BY art_id, carico, pos_fine
        INTO :forn_id_o, :pi, :pf
  DO
  BEGIN
    IF (pi >= fine) THEN
      LEAVE;
    qta_o = MINVALUE (pf, fine) - MAXVALUE (pi, inizio);
    SUSPEND;
  END
END^
SET TERM ; ^
COMMIT;
