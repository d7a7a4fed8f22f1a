#!/usr/bin/env python3
"""Prints the first sheet of a workbook one row a line, cells separated by a
TAB, each cell as its type and value: "n:" number, "d:" date (ISO, with the
time), "s:" text (backslash, TAB and line breaks escaped), "b:" boolean,
"e:" empty. .xlsx files are read with openpyxl, .xls files with xlrd.

    read_workbook.py FILE [ROW...]   only the given rows (counted from 0),
                                     after a first line with the row count
"""
import sys


def number(value):
    if float(value).is_integer() and abs(value) < 1e15:
        return "n:%d" % int(value)
    return "n:" + repr(float(value))


def text(value):
    return "s:" + (value.replace("\\", "\\\\").replace("\t", "\\t")
                   .replace("\n", "\\n").replace("\r", "\\r"))


def xlsx_rows(path):
    import datetime
    import openpyxl
    sheet = openpyxl.load_workbook(path, read_only=True).worksheets[0]
    for row in sheet.iter_rows(values_only=True):
        cells = []
        for value in row:
            if value is None:
                cells.append("e:")
            elif isinstance(value, bool):
                cells.append("b:%d" % value)
            elif isinstance(value, datetime.datetime):
                cells.append("d:" + value.isoformat(sep=" "))
            elif isinstance(value, datetime.time):
                # A time alone, on the day before serial 1 as xlrd gives it.
                cells.append("d:1899-12-31 " + value.isoformat())
            elif isinstance(value, (int, float)):
                cells.append(number(value))
            else:
                cells.append(text(value))
        yield cells


def xls_rows(path):
    import xlrd
    book = xlrd.open_workbook(path)
    sheet = book.sheet_by_index(0)
    for r in range(sheet.nrows):
        cells = []
        for cell in sheet.row(r):
            if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                cells.append("e:")
            elif cell.ctype == xlrd.XL_CELL_BOOLEAN:
                cells.append("b:%d" % cell.value)
            elif cell.ctype == xlrd.XL_CELL_DATE:
                stamp = xlrd.xldate.xldate_as_datetime(cell.value, book.datemode)
                cells.append("d:" + stamp.isoformat(sep=" "))
            elif cell.ctype == xlrd.XL_CELL_NUMBER:
                cells.append(number(cell.value))
            else:
                cells.append(text(cell.value))
        yield cells


def main():
    path = sys.argv[1]
    rows = xls_rows(path) if path.lower().endswith(".xls") else xlsx_rows(path)
    wanted = [int(r) for r in sys.argv[2:]]
    out = sys.stdout
    if not wanted:
        for cells in rows:
            out.write("\t".join(cells) + "\n")
        return
    chosen = {}
    count = 0
    for index, cells in enumerate(rows):
        count += 1
        if index in wanted:
            chosen[index] = cells
    out.write("%d\n" % count)
    for r in wanted:
        out.write("\t".join(chosen.get(r, ["<missing>"])) + "\n")


if __name__ == "__main__":
    main()
