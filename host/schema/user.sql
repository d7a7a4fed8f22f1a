-- User database of the host application: users, their settings per company
-- and the log of the windows the host opens.
--
-- Script format (read by host::schemaStatements): a statement ends on the
-- line whose last non-blank character is ";" (a line holding only ";" ends
-- the statement above it); the ";" itself is not sent. Lines starting with
-- "--" and blank lines are skipped. No statement may hold a ";" of its own.
--
-- TABSCRIPT is not here: the label library creates it itself.

-- Library reads CODICE, NOMEUTENTE, PWDUTENTE, DITTA, PROFILOSICUREZZA and rewrites VANDEL.
CREATE TABLE UTENTI (
  CODICE INTEGER NOT NULL,
  NOMEUTENTE VARCHAR(30) NOT NULL,
  PWDUTENTE VARCHAR(30),
  DITTA VARCHAR(60),
  PROFILOSICUREZZA INTEGER DEFAULT 0,
  VANDEL BLOB SUB_TYPE TEXT,
  CONSTRAINT PK_UTENTI PRIMARY KEY (CODICE),
  CONSTRAINT UQ_UTENTI_NOMEUTENTE UNIQUE (NOMEUTENTE)
);

-- Library reads and writes every column; PROGRESSIVO numbers a user's entries from 1.
CREATE TABLE TABVANDEL (
  UTENTE INTEGER NOT NULL,
  INTESTAZIONE VARCHAR(60),
  PARAMETRO VARCHAR(64),
  VALORE VARCHAR(255),
  PROGRESSIVO INTEGER NOT NULL,
  CONSTRAINT PK_TABVANDEL PRIMARY KEY (UTENTE, PROGRESSIVO)
);

-- Library writes HANDLEFINESTRA into the row the host made for IDFINESTRA.
CREATE TABLE ZELMILOGFUNZ (
  IDFINESTRA INTEGER NOT NULL,
  UTENTE INTEGER,
  FUNZIONE VARCHAR(64),
  DATAORA TIMESTAMP,
  HANDLEFINESTRA VARCHAR(20),
  CONSTRAINT PK_ZELMILOGFUNZ PRIMARY KEY (IDFINESTRA)
);

CREATE GENERATOR IDZELMILOGFUNZCOUNTER;
