# Writes a parameter list workbook as another program would: numbers as numbers, no apostrophes,
# no styles. Arguments: the path and the drive type.
import sys
import openpyxl

wb = openpyxl.Workbook()
ws = wb.active
ws.title = 'list'
ws.append([sys.argv[2], 2, 1])
ws.append(['Trad. P mode', 'Name', 'Min', 'Max', 'Unit', 'Default value', 'Current value', 'Comment', 'Comment 2'])
ws.append(['P.1', 'Name one', 0, 10, 'Hz', '5', 7.25, 'RW', 'Modified'])
ws.append(['P. 2', 'Name two', 0, 10, 'Hz', '5', None, 'RW', None])
ws.append(['P.3', 'Name three', 0, 10, 'Hz', '5', 'oops', 'RW', None])
ws.append(['x', 'not a parameter', 0, 10, 'Hz', '5', 9, 'RW', None])
ws.append(['P.4', 'Name four', 0, 10, 'Hz', '5', '-3', 'RW', None])
wb.save(sys.argv[1])
