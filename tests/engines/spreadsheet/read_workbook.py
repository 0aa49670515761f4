"""Prints what openpyxl finds in an .xlsx workbook, one fact a line: sheets,
frozen panes, columns, cells (values as JSON); then, from the package itself,
which sheet files hold a background picture and the pictures' sizes."""
import json
import sys
import zipfile

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
print("sheets " + "|".join(book.sheetnames))
for sheet in book.worksheets:
    name = sheet.title
    if sheet.freeze_panes:
        print(f"freeze {name} {sheet.freeze_panes}")
    for letter, column in sorted(sheet.column_dimensions.items()):
        print(f"column {name} {letter} width={column.width} format={column.number_format}")
    for cell in (cell for row in sheet.iter_rows() for cell in row if cell.value is not None or cell.font.b):
        print(f"cell {name} {cell.coordinate} {type(cell.value).__name__} bold={int(bool(cell.font.b))} "
              f"format={cell.number_format} {json.dumps(cell.value, ensure_ascii=False, default=str)}")
with zipfile.ZipFile(sys.argv[1]) as package:
    for part in package.infolist():
        if part.filename.startswith("xl/worksheets/sheet") and b"<picture " in package.read(part):
            print(f"picture in {part.filename}")
        elif part.filename.startswith("xl/media/"):
            print(f"media {part.filename} {part.file_size}")
