# Reads a workbook with openpyxl (not the library that wrote it) and prints, as JSON,
# every sheet with its cells (value and number format) and its column widths.
import json
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheets = []
for sheet in book.worksheets:
    rows = []
    for row in sheet.iter_rows():
        rows.append([{"value": c.value, "format": c.number_format,
                      "numeric": isinstance(c.value, (int, float))} for c in row])
    widths = {key: dim.width for key, dim in sheet.column_dimensions.items()}
    sheets.append({"name": sheet.title, "rows": rows, "widths": widths})
json.dump({"sheets": sheets}, sys.stdout, ensure_ascii=False)
