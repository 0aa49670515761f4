"""Prints what openpyxl finds in an .xlsx workbook, one fact a line:
sheets, frozen panes, columns, cells (values as JSON) and, from the package
itself, each sheet's background picture with its size."""
import json
import posixpath
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

import openpyxl

MAIN = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
REL_ID = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}id"


def targets(package, part):
    folder, name = posixpath.split(part)
    root = ElementTree.fromstring(package.read(posixpath.join(folder, "_rels", name + ".rels")))
    return {r.get("Id"): posixpath.normpath(posixpath.join(folder, r.get("Target"))) for r in root}


def pictures(path):
    found = {}
    with zipfile.ZipFile(path) as package:
        sheets = targets(package, "xl/workbook.xml")
        for sheet in ElementTree.fromstring(package.read("xl/workbook.xml")).iter(MAIN + "sheet"):
            part = sheets[sheet.get(REL_ID)]
            picture = ElementTree.fromstring(package.read(part)).find(MAIN + "picture")
            if picture is not None:
                media = targets(package, part)[picture.get(REL_ID)]
                found[sheet.get("name")] = f"{media} {package.getinfo(media).file_size}"
    return found


book = openpyxl.load_workbook(sys.argv[1])
print("sheets " + "|".join(book.sheetnames))
backgrounds = pictures(sys.argv[1])
for sheet in book.worksheets:
    name = sheet.title
    if sheet.freeze_panes:
        print(f"freeze {name} {sheet.freeze_panes}")
    for letter, column in sorted(sheet.column_dimensions.items()):
        print(f"column {name} {letter} width={column.width} format={column.number_format}")
    for cell in (cell for row in sheet.iter_rows() for cell in row if cell.value is not None or cell.font.b):
        print(f"cell {name} {cell.coordinate} {type(cell.value).__name__} bold={int(bool(cell.font.b))} "
              f"format={cell.number_format} {json.dumps(cell.value, ensure_ascii=False, default=str)}")
    if name in backgrounds:
        print(f"picture {name} {backgrounds[name]}")
