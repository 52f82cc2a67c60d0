import json, sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
cells = {}
for row in ws.iter_rows():
    for c in row:
        if c.value is None and not c.font.b and c.fill.fill_type is None:
            continue
        cells[c.coordinate] = {
            'value': c.value, 'type': type(c.value).__name__,
            'bold': bool(c.font.b),
            'font': c.font.color.rgb if c.font.color is not None and c.font.color.type == 'rgb' else None,
            'fill': c.fill.fgColor.rgb if c.fill.fill_type == 'solid' else None}
widths = {k: v.width for k, v in ws.column_dimensions.items() if v.customWidth}
print(json.dumps({'sheets': wb.sheetnames, 'filter': ws.auto_filter.ref, 'cells': cells, 'widths': widths}))
