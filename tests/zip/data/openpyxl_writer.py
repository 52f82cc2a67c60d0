import sys, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.title = 'VM3-023-1.5K'
ws['B2'] = 'P.1'
ws['C2'] = 50
ws['D2'] = 0.01
ws['C4'] = '60.00'
ws['E4'] = '变频器'
ws['D6'] = '=B2'
wb.create_sheet('Second')['A1'] = 'not read'
wb.save(sys.argv[1])
