/* libXendo, the suite's spreadsheet-export library ("Xendo.dll" on Windows,
 * libXendo.so here), loaded by the query designer's Excel exports.
 *
 * Both exports take five null-terminated Windows-1252 strings:
 *   sql               the statement whose answer is exported; its lines may
 *                     be separated by CR LF, LF or CR;
 *   databaseFile      the database to read it from, as the caller's
 *                     connection names it: a local file (a stored Windows
 *                     path such as "C:\dati\archivio.fdb" becomes a path of
 *                     this machine), "server:path" or "server:alias". The
 *                     connection uses ISC_USER / ISC_PASSWORD when set, else
 *                     SYSDBA and the product's default password;
 *   targetDirectory   the folder of the workbook in stored form, normally
 *                     ending in a backslash (one is added when missing);
 *   targetFileName    the workbook's file name;
 *   templateWorkbook  a workbook to start from, may be empty or null.
 *
 * The workbook has one sheet, "Foglio1": a header row with the column names
 * in bold, then one row per record. Numbers stay numbers, dates, timestamps
 * and times are date cells with a date format, text is text, NULL an empty
 * cell, booleans are boolean cells. An integer beyond what a spreadsheet
 * number holds exactly (2^53) and a date before 1 March 1900 are written as
 * text rather than changed. A cell holds at most 32,767 characters; a longer
 * value fails the export.
 *
 * The file appears whole or not at all: it is written to a hidden temporary
 * file beside the target and renamed over it only when complete, so a failed
 * export leaves no file and an older file of that name untouched.
 *
 * A template workbook is never applied: the workbook is written without it,
 * the result is XENDO_WRITTEN_WITHOUT_TEMPLATE and XendoLastError() says
 * that the template was not used, for the caller to show.
 *
 * An .xls file (ExportXlsAnsi) is an Excel 97-2003 workbook and holds at most
 * 65,536 rows, the header included, and 256 columns: a larger answer fails
 * with XENDO_TOO_LARGE and nothing written. An .xlsx file holds 1,048,576
 * rows and 16,384 columns.
 *
 * The functions run on the caller's thread, one call at a time.
 */
#pragma once

#if defined(__GNUC__)
#define XENDO_API __attribute__((visibility("default")))
#else
#define XENDO_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Results: not negative when the file was written, negative on failure. */
enum {
  XENDO_WRITTEN = 0,
  XENDO_WRITTEN_WITHOUT_TEMPLATE = 1, /* written, the template not applied */
  XENDO_BAD_ARGUMENTS = -1,           /* no statement, database or file name */
  XENDO_DATABASE_FAILED = -2,         /* the database or the statement failed */
  XENDO_WRITE_FAILED = -3,            /* the file could not be written */
  XENDO_TOO_LARGE = -4                /* the answer does not fit the format */
};

/* Writes the answer of `sql` as an Excel 97-2003 workbook (.xls). */
XENDO_API int ExportXlsAnsi(const char* sql, const char* databaseFile, const char* targetDirectory,
                            const char* targetFileName, const char* templateWorkbook);

/* Writes the answer of `sql` as an Office Open XML workbook (.xlsx). */
XENDO_API int ExportXlsXAnsi(const char* sql, const char* databaseFile, const char* targetDirectory,
                             const char* targetFileName, const char* templateWorkbook);

/* Why the last export failed, or why its template was not applied, in
 * Windows-1252 (Italian); empty after an export that wrote its file with no
 * remark. The text stays valid until the next export call or until the
 * library is unloaded: copy it before freeing the library. */
XENDO_API const char* XendoLastError(void);

#ifdef __cplusplus
}
#endif
