#!/usr/bin/python3
"""Judges saved workbooks the way real readers do.

  check_xlsx.py verify SCHEMA_DIR BOOK...   check the package's structure and validate every XML part
                                            against the ECMA schemas (skipped when xmllint or the
                                            schemas are missing)
  check_xlsx.py cells BOOK                  print every sheet's cells as openpyxl reads them:
                                            "#sheet TITLE STATE CELLS STREAMED_CELLS" per sheet, then
                                            "CELL TYPE VALUE FORMAT" per cell (tab-separated, values
                                            with backslash escapes for tab, CR, LF and backslash)
  check_xlsx.py props BOOK                  print the book's and every sheet's settings as openpyxl reads
                                            them, "KEY VALUE" per line (tab-separated; keys "book.NAME" and
                                            "sheetN.NAME" with N from 1 in workbook order)
  check_xlsx.py formats BOOK                print what openpyxl reads of the formats and sheet settings:
                                            "SHEET!CELL ATTRIBUTE VALUE" per formatted cell (font, fill,
                                            border, alignment, number format, protection, hyperlink) and
                                            "SHEET ATTRIBUTE VALUE" per sheet setting (merges, autofilter,
                                            validations, row heights, column widths, breaks), tab-separated
  check_xlsx.py office OUTDIR BOOK...       convert with LibreOffice headless to CSV (one per first sheet)
  check_xlsx.py pdf OUTDIR BOOK             print with LibreOffice headless to PDF and report "pages N",
                                            then "pageN.size WxH" (points) and "pageN.text TEXT" per page
  check_xlsx.py recalc OUTDIR BOOK          let LibreOffice compute the formulas of a copy without cached
                                            values and print "SHEET!CELL STATE CACHED COMPUTED FORMULA"
                                            per formula cell (STATE agree, differ or uncached), then
                                            "#calcId ID"; fails when a cached value differs

Exit status 0 when the books pass, 1 with the reasons on stderr, 77 when a tool is missing.
"""
import csv
import html
import math
import os
import posixpath
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

SKIP = 77
# Comma-separated UTF-8, raw values rather than as shown, every sheet to a file of its own.
CSV_FILTER = "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1"

# Part name pattern -> schema file; parts without a usable schema are only checked for well-formedness.
SCHEMAS = [
    (r"^xl/worksheets/sheet\d+\.xml$", "sml.xsd"),
    (r"^xl/styles\.xml$", "sml.xsd"),
    (r"^xl/workbook\.xml$", "sml.xsd"),
    (r"^xl/sharedStrings\.xml$", "sml.xsd"),
    (r"^xl/comments\d+\.xml$", "sml.xsd"),
    (r"^xl/tables/table\d+\.xml$", "sml.xsd"),
    (r"^xl/drawings/drawing\d+\.xml$", "dml-spreadsheetDrawing.xsd"),
    (r"^xl/charts/chart\d+\.xml$", "dml-chart.xsd"),
    (r"^xl/theme/theme\d+\.xml$", "dml-main.xsd"),
    (r"^\[Content_Types\]\.xml$", "opc-contentTypes.xsd"),
    (r"\.rels$", "opc-relationships.xsd"),
    (r"^docProps/app\.xml$", "shared-documentPropertiesExtended.xsd"),
]


def schema_for(name):
    for pattern, schema in SCHEMAS:
        if re.search(pattern, name):
            return schema
    return None


MAIN = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
REL = "{http://schemas.openxmlformats.org/package/2006/relationships}"
TYPES = "{http://schemas.openxmlformats.org/package/2006/content-types}"


def resolve(source, target):
    if target.startswith("/"):
        return target[1:]
    base = posixpath.dirname(source.replace("_rels/", "").rsplit(".rels", 1)[0])
    return posixpath.normpath(posixpath.join(base, target))


def check_structure(book, package, failures):
    import xml.etree.ElementTree as ET

    names = package.namelist()
    if len(names) != len(set(names)):
        failures.append(f"{book}: duplicate part names")
    trees = {}
    for name in names:
        if name.endswith((".xml", ".rels", ".vml")):
            try:
                trees[name] = ET.fromstring(package.read(name).decode("utf-8"))
            except (UnicodeDecodeError, ET.ParseError) as error:
                failures.append(f"{book}:{name}: not well-formed UTF-8 XML: {error}")
    types = trees.get("[Content_Types].xml")
    if types is None:
        failures.append(f"{book}: no [Content_Types].xml")
        return
    defaults = {d.get("Extension").lower() for d in types.iter(TYPES + "Default")}
    overrides = {o.get("PartName") for o in types.iter(TYPES + "Override")}
    for name in names:
        if name == "[Content_Types].xml" or name.endswith("/"):
            continue
        if "/" + name not in overrides and name.rsplit(".", 1)[-1].lower() not in defaults:
            failures.append(f"{book}:{name}: no content type")
    for part in overrides:
        if part[1:] not in names:
            failures.append(f"{book}: content type for a missing part {part}")
    for name, tree in trees.items():
        if not name.endswith(".rels"):
            continue
        ids = [r.get("Id") for r in tree.iter(REL + "Relationship")]
        if len(ids) != len(set(ids)):
            failures.append(f"{book}:{name}: duplicate relationship ids")
        for rel in tree.iter(REL + "Relationship"):
            if rel.get("TargetMode") == "External":
                continue
            if resolve(name, rel.get("Target")) not in names:
                failures.append(f"{book}:{name}: target {rel.get('Target')} is missing")
    styles = trees.get("xl/styles.xml")
    strings = trees.get("xl/sharedStrings.xml")
    xf_count = len(styles.find(MAIN + "cellXfs")) if styles is not None and styles.find(MAIN + "cellXfs") is not None else 1
    if styles is not None:
        counts = {tag: len(styles.find(MAIN + tag)) for tag in ("fonts", "fills", "borders") if styles.find(MAIN + tag) is not None}
        custom = {f.get("numFmtId") for f in styles.iter(MAIN + "numFmt")}
        for xf in styles.find(MAIN + "cellXfs") if styles.find(MAIN + "cellXfs") is not None else []:
            for attribute, tag in (("fontId", "fonts"), ("fillId", "fills"), ("borderId", "borders")):
                if int(xf.get(attribute, "0")) >= counts.get(tag, 1):
                    failures.append(f"{book}: cellXfs {attribute} {xf.get(attribute)} out of range")
            number = int(xf.get("numFmtId", "0"))
            if number >= 164 and str(number) not in custom:
                failures.append(f"{book}: numFmtId {number} is not defined")
    string_count = len(strings) if strings is not None else 0
    for name, tree in trees.items():
        if not re.match(r"xl/worksheets/sheet\d+\.xml$", name):
            continue
        for cell in tree.iter(MAIN + "c"):
            if int(cell.get("s", "0")) >= xf_count:
                failures.append(f"{book}:{name}: {cell.get('r')} style {cell.get('s')} out of range")
            if cell.get("t") == "s":
                value = cell.find(MAIN + "v")
                if value is None or not value.text or int(value.text) >= string_count:
                    failures.append(f"{book}:{name}: {cell.get('r')} shared string out of range")


def check_schema(schema_dir, books):
    failures = []
    for book in books:
        with zipfile.ZipFile(book) as package:
            check_structure(book, package, failures)
    if shutil.which("xmllint") is None or not os.path.isdir(schema_dir):
        for failure in failures:
            print(failure, file=sys.stderr)
        return 1 if failures else SKIP
    with tempfile.TemporaryDirectory() as work:
        for book in books:
            with zipfile.ZipFile(book) as package:
                bad = package.testzip()
                if bad is not None:
                    failures.append(f"{book}: corrupt entry {bad}")
                for name in package.namelist():
                    if not (name.endswith(".xml") or name.endswith(".rels") or name.endswith(".vml")):
                        continue
                    text = package.read(name)
                    # The schema set has no xml: namespace; xml:space is what the application writes too.
                    text = text.replace(b' xml:space="preserve"', b"")
                    part = os.path.join(work, "part.xml")
                    with open(part, "wb") as out:
                        out.write(text)
                    schema = schema_for(name)
                    command = ["xmllint", "--noout"]
                    if schema:
                        command += ["--schema", os.path.join(schema_dir, schema)]
                    result = subprocess.run(command + [part], capture_output=True, text=True)
                    if result.returncode != 0:
                        failures.append(f"{book}:{name}: {result.stderr.strip()}")
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


def field(value):
    text = value.isoformat() if hasattr(value, "isoformat") else str(value)
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n")


def dump_cells(book):
    import warnings
    import openpyxl

    with warnings.catch_warnings():
        warnings.simplefilter("error")  # a reader warning is a fault of the writer
        full = openpyxl.load_workbook(book)
        streaming = openpyxl.load_workbook(book, read_only=True)
    for sheet in full.worksheets:
        cells = [cell for row in sheet.iter_rows() for cell in row if cell.value is not None]
        # Read-only mode trusts the dimension: it must see the same values.
        streamed = sum(1 for row in streaming[sheet.title].iter_rows() for cell in row
                       if getattr(cell, "value", None) is not None)
        print("\t".join(["#sheet", field(sheet.title), sheet.sheet_state, str(len(cells)), str(streamed)]))
        for cell in cells:
            print("\t".join([cell.coordinate, cell.data_type, field(cell.value), field(cell.number_format)]))
    return 0


def emit(key, value):
    print(f"{key}\t{field(value)}")


def dump_properties(book):
    import warnings
    import xml.etree.ElementTree as ET
    import openpyxl

    with warnings.catch_warnings():
        warnings.simplefilter("error")  # a reader warning is a fault of the writer
        wb = openpyxl.load_workbook(book)
    p = wb.properties
    for name in ("creator", "lastModifiedBy", "title", "subject", "keywords", "description"):
        emit(f"book.{name}", getattr(p, name))
    emit("book.calcId", wb.calculation.calcId)
    view = wb.views[0]
    for name in ("activeTab", "xWindow", "yWindow", "windowWidth", "windowHeight"):
        emit(f"book.{name}", getattr(view, name))
    # What openpyxl does not keep: the extended properties, the write reservation and the backup switch.
    with zipfile.ZipFile(book) as package:
        app = ET.fromstring(package.read("docProps/app.xml"))
        workbook = ET.fromstring(package.read("xl/workbook.xml"))
        final = "docProps/custom.xml" in package.namelist()
    extended = "{http://schemas.openxmlformats.org/officeDocument/2006/extended-properties}"
    for name in ("Company", "Manager"):
        element = app.find(extended + name)
        emit(f"book.{name}", None if element is None else element.text)
    sharing = workbook.find(MAIN + "fileSharing")
    emit("book.reservationPassword", None if sharing is None else sharing.get("reservationPassword"))
    emit("book.backupFile", workbook.find(MAIN + "workbookPr").get("backupFile"))
    emit("book.final", final)
    for n, ws in enumerate(wb.worksheets, 1):
        key = f"sheet{n}"
        emit(f"{key}.title", ws.title)
        emit(f"{key}.state", ws.sheet_state)
        sv = ws.sheet_view
        for name in ("zoomScale", "view", "showGridLines", "showRowColHeaders", "tabSelected"):
            emit(f"{key}.{name}", getattr(sv, name))
        pane = sv.pane
        emit(f"{key}.pane", None if pane is None else
             f"{pane.xSplit} {pane.ySplit} {pane.topLeftCell} {pane.activePane} {pane.state}")
        tab = ws.sheet_properties.tabColor
        emit(f"{key}.tabColor", None if tab is None else tab.rgb)
        pr = ws.protection
        for name in ("sheet", "password", "formatCells", "formatColumns", "formatRows", "insertColumns",
                     "insertRows", "insertHyperlinks", "deleteColumns", "deleteRows", "sort", "autoFilter",
                     "pivotTables", "objects", "scenarios"):
            emit(f"{key}.protection.{name}", getattr(pr, name))
        ps = ws.page_setup
        for name in ("paperSize", "orientation", "scale", "fitToWidth", "fitToHeight", "verticalDpi"):
            emit(f"{key}.{name}", getattr(ps, name))
        emit(f"{key}.fitToPage", ws.sheet_properties.pageSetUpPr.fitToPage if ws.sheet_properties.pageSetUpPr else None)
        for name in ("left", "right", "top", "bottom", "header", "footer"):
            emit(f"{key}.margin.{name}", getattr(ws.page_margins, name))
        emit(f"{key}.print_title_rows", ws.print_title_rows)
        emit(f"{key}.print_title_cols", ws.print_title_cols)
        for side_name, side in (("header", ws.oddHeader), ("footer", ws.oddFooter)):
            for part_name in ("left", "center", "right"):
                part = getattr(side, part_name)
                emit(f"{key}.{side_name}.{part_name}",
                     None if part.text is None else f"{part.text}|{part.font}|{part.size}|{part.color}")
    return 0


def office_pdf(outdir, book):
    office = shutil.which("soffice") or shutil.which("libreoffice")
    if office is None or shutil.which("pdfinfo") is None or shutil.which("pdftotext") is None:
        return SKIP
    with tempfile.TemporaryDirectory() as profile:
        result = subprocess.run([office, f"-env:UserInstallation=file://{profile}", "--headless", "--norestore",
                                 "--convert-to", "pdf", "--outdir", outdir, book],
                                capture_output=True, text=True, timeout=300)
    pdf = os.path.join(outdir, os.path.splitext(os.path.basename(book))[0] + ".pdf")
    if not os.path.exists(pdf):
        print(result.stdout, result.stderr, "not printed:", book, file=sys.stderr)
        return 1
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
    pages = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
    print(f"pages\t{pages}")
    sizes = subprocess.run(["pdfinfo", "-f", "1", "-l", str(pages), pdf], capture_output=True, text=True).stdout
    for number, width, height in re.findall(r"^Page\s+(\d+) size:\s+([\d.]+) x ([\d.]+)", sizes, re.M):
        print(f"page{number}.size\t{round(float(width))}x{round(float(height))}")
    texts = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True).stdout.split("\f")
    for number, text in enumerate(texts[:pages], 1):
        print(f"page{number}.text\t{field(text)}")
    return 0


def color_text(color):
    if color is None:
        return ""
    if color.type == "rgb":
        return str(color.rgb)
    return f"{color.type}:{color.value}"


def cell_formats(cell):
    font, fill, border, alignment = cell.font, cell.fill, cell.border, cell.alignment
    yield "font.name", font.name
    yield "font.size", font.sz
    yield "font.bold", font.b
    yield "font.italic", font.i
    yield "font.underline", font.u
    yield "font.color", color_text(font.color)
    if fill.tagname == "gradientFill":
        yield "fill.type", "gradient:" + fill.type
        yield "fill.degree", fill.degree
        yield "fill.stops", " ".join(f"{stop.position}={color_text(stop.color)}" for stop in fill.stop)
    else:
        yield "fill.type", fill.fill_type
        yield "fill.fg", color_text(fill.fgColor)
        yield "fill.bg", color_text(fill.bgColor)
    for side in ("left", "right", "top", "bottom", "diagonal"):
        line = getattr(border, side)
        yield f"border.{side}", f"{line.style}/{color_text(line.color)}" if line is not None and line.style else ""
    yield "border.diagonal_up", border.diagonalUp
    yield "border.diagonal_down", border.diagonalDown
    yield "align.horizontal", alignment.horizontal
    yield "align.vertical", alignment.vertical
    yield "align.wrap", alignment.wrap_text
    yield "align.shrink", alignment.shrink_to_fit
    yield "align.rotation", alignment.text_rotation
    yield "align.indent", alignment.indent
    yield "number_format", cell.number_format
    yield "locked", cell.protection.locked
    yield "type", cell.data_type
    yield "value", cell.value
    if cell.hyperlink is not None:
        yield "hyperlink", cell.hyperlink.target


def sheet_settings(sheet):
    for merged in sheet.merged_cells.ranges:
        yield "merge", str(merged)
    yield "autofilter", sheet.auto_filter.ref or ""
    for rule in sheet.data_validations.dataValidation:
        yield "validation", "|".join(str(part) for part in
                                     (rule.sqref, rule.type, rule.operator, rule.formula1, rule.formula2))
    for number, row in sorted(sheet.row_dimensions.items()):
        if row.height is not None:
            yield f"row_height.{number}", row.height
    for letters, column in sorted(sheet.column_dimensions.items()):
        if column.width:
            yield f"column_width.{letters}", column.width
    for brk in sheet.row_breaks.brk:
        yield "row_break", brk.id
    for brk in sheet.col_breaks.brk:
        yield "column_break", brk.id


def dump_formats(book):
    import warnings
    import openpyxl

    with warnings.catch_warnings():
        warnings.simplefilter("error")
        workbook = openpyxl.load_workbook(book)
    for sheet in workbook.worksheets:
        for attribute, value in sheet_settings(sheet):
            print("\t".join([field(sheet.title), attribute, field(value)]))
        for row in sheet.iter_rows():
            for cell in row:
                if cell.has_style or cell.value is not None:
                    for attribute, value in cell_formats(cell):
                        print("\t".join([f"{field(sheet.title)}!{cell.coordinate}", attribute, field(value)]))
    return 0


def office_convert(outdir, books):
    office = shutil.which("soffice") or shutil.which("libreoffice")
    if office is None:
        return SKIP
    with tempfile.TemporaryDirectory() as profile:
        command = [office, f"-env:UserInstallation=file://{profile}", "--headless", "--norestore",
                   "--convert-to", CSV_FILTER,
                   "--outdir", outdir] + books
        result = subprocess.run(command, capture_output=True, text=True, timeout=300)
    missing = [b for b in books if not any(name.startswith(os.path.splitext(os.path.basename(b))[0])
                                           for name in os.listdir(outdir))]
    if result.returncode != 0 or missing:
        print(result.stdout, result.stderr, "not converted:", missing, file=sys.stderr)
        return 1
    return 0


CELL = re.compile(r'<c r="([A-Z]+)(\d+)"[^>]*?(?:/>|>(.*?)</c>)', re.S)


def attributes(element):
    return dict(re.findall(r'([\w:]+)="([^"]*)"', element))


def worksheet_parts(package):
    """(sheet name, part name) in workbook order."""
    rels = package.read("xl/_rels/workbook.xml.rels").decode()
    targets = {a["Id"]: a["Target"] for a in map(attributes, re.findall(r"<Relationship [^>]*>", rels))}
    sheets = map(attributes, re.findall(r"<sheet [^>]*>", package.read("xl/workbook.xml").decode()))
    return [(html.unescape(a["name"]), "xl/" + targets[a["r:id"]].removeprefix("/xl/")) for a in sheets]


def column_index(letters):
    number = 0
    for letter in letters:
        number = number * 26 + ord(letter) - ord("A") + 1
    return number - 1


def office_number(text):
    # LibreOffice writes a percentage-formatted result with its sign even in raw CSV.
    text = text.strip()
    return float(text[:-1]) / 100 if text.endswith("%") else float(text)


def agree(cached, computed):
    try:
        return math.isclose(float(cached), office_number(computed), rel_tol=1e-9, abs_tol=1e-300)
    except ValueError:
        return False


def recalc_compare(outdir, book):
    office = shutil.which("soffice") or shutil.which("libreoffice")
    if office is None:
        return SKIP
    copy = os.path.join(outdir, "uncached.xlsx")
    formulas = []  # (sheet, column, row, formula, cached or None)
    with zipfile.ZipFile(book) as package, zipfile.ZipFile(copy, "w", zipfile.ZIP_DEFLATED) as out:
        parts = worksheet_parts(package)
        calc_id = re.search(r'calcId="(\d+)"', package.read("xl/workbook.xml").decode())
        for sheet, part in parts:
            for letters, row, body in CELL.findall(package.read(part).decode()):
                formula = re.search(r"<f>(.*?)</f>", body or "", re.S)
                if formula:
                    cached = re.search(r"<v>(.*?)</v>", body, re.S)
                    formulas.append((sheet, letters, int(row), html.unescape(formula.group(1)),
                                     cached.group(1) if cached else None))
        for item in package.infolist():
            data = package.read(item.filename)
            if item.filename in {part for _, part in parts}:
                data = re.sub(rb"(</f>)<v>[^<]*</v>", rb"\1", data)
            out.writestr(item, data)
    with tempfile.TemporaryDirectory() as profile:
        result = subprocess.run([office, f"-env:UserInstallation=file://{profile}", "--headless", "--norestore",
                                 "--convert-to", CSV_FILTER, "--outdir", outdir, copy],
                                capture_output=True, text=True, timeout=120)
    computed = {}
    for sheet, _ in worksheet_parts(zipfile.ZipFile(copy)):
        path = os.path.join(outdir, f"uncached-{sheet}.csv")
        if not os.path.exists(path):
            print(result.stdout, result.stderr, "not converted:", path, file=sys.stderr)
            return 1
        with open(path, newline="", encoding="utf-8") as lines:
            computed[sheet] = list(csv.reader(lines))
    differ = 0
    for sheet, letters, row, formula, cached in formulas:
        rows = computed[sheet]
        column = column_index(letters)
        value = rows[row - 1][column] if row - 1 < len(rows) and column < len(rows[row - 1]) else ""
        state = "uncached" if cached is None else "agree" if agree(cached, value) else "differ"
        differ += state == "differ"
        print("\t".join([f"{sheet}!{letters}{row}", state, cached or "", value, formula]))
    print("#calcId", calc_id.group(1) if calc_id else "")
    return 1 if differ else 0


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    command = argv[1]
    if command == "verify":
        return check_schema(argv[2], argv[3:])
    if command == "cells":
        return dump_cells(argv[2])
    if command == "props":
        return dump_properties(argv[2])
    if command == "pdf" and len(argv) == 4:
        return office_pdf(argv[2], argv[3])
    if command == "formats":
        return dump_formats(argv[2])
    if command == "office":
        return office_convert(argv[2], argv[3:])
    if command == "recalc" and len(argv) == 4:
        return recalc_compare(argv[2], argv[3])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
