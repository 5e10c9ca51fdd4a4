#!/usr/bin/env bash
# Writes the table reader's fixtures with the programs that write such files
# (R, pandas, openpyxl, xlwt, Gnumeric's ssconvert). Run once by hand; the
# files it writes are committed, so the tests need none of these programs.
set -euo pipefail
cd "$(dirname "$0")"

Rscript --vanilla - <<'R'
plants <- data.frame(Weight = c(26.5, NA, 31.2, 28.9, 30.4), Feed = c(4.1, 4.4, NA, 4.9, 5.2),
                     Water = c(1, 2, 2, 3, 3))
write.csv(plants, "r_write_csv.csv")                        # "" corner, quoted row names
write.table(plants, "r_write_table.txt")                   # header one field short, spaces
prices <- data.frame(Date = as.Date("2008-07-21") + 0:4,
                     IBM = c(127.5, 128.25, 126.75, 125.5, 124.9),
                     AAPL = c(166.3, 162.0, 166.3, 159.0, 162.1))
writeLines("# Data source: closing prices, two stocks", "r_comment_first.csv")
suppressWarnings(write.table(prices, "r_comment_first.csv", sep = ",", row.names = FALSE,
                             append = TRUE))
x <- seq(0, 2, by = 0.5)
curves <- cbind(x = x, sin = round(sin(x), 4), cos = round(cos(x), 4))
writeLines(c("# x  sin(x)  cos(x)", apply(format(curves), 1, paste, collapse = "   ")),
           "r_aligned_columns.dat")                         # blank-aligned, leading blanks
R

/usr/bin/python3 - <<'PY'
import datetime
import openpyxl
import pandas
import xlwt

years = pandas.DataFrame({"Year": [1970, 1971, 1972, 1973],
                          "Agriculture": [4.23, 4.69, 4.97, 5.3],
                          "Art": [11.5, 12.0, 12.1, 12.3]})
years.to_csv("pandas_years.csv", index=False)
visits = pandas.DataFrame({"Visits": [120, 135, 128], "Orders": [12, 15, 11]},
                          index=pandas.to_datetime(["2008-07-25", "2008-07-26", "2008-07-27"]))
visits.index.name = "Day"
visits.to_excel("pandas_dates.xlsx")

for name, epoch in (("openpyxl_1900.xlsx", None), ("openpyxl_1904.xlsx", "1904")):
    book = openpyxl.Workbook()
    if epoch:
        book.epoch = openpyxl.utils.datetime.CALENDAR_MAC_1904
    sheet = book.active
    sheet.append(["Day", "Amount", "At"])
    for day, amount, at in ((datetime.date(1964, 3, 23), 1.5, datetime.time(14, 40)),
                            (datetime.date(2008, 7, 25), 2.5, datetime.time(9, 15, 30))):
        sheet.append([day, amount, at])
    for row in sheet.iter_rows(min_row=2, max_col=1):
        row[0].number_format = "yyyy-mm-dd"
    book.save(name)

book = xlwt.Workbook()
sheet = book.add_sheet("Sales")
dates = xlwt.easyxf(num_format_str="DD.MM.YYYY")
for col, text in enumerate(["Day", "North", "South"]):
    sheet.write(0, col, text)
for row, (day, north, south) in enumerate(((datetime.date(2008, 7, 25), 12.5, 8),
                                            (datetime.date(2008, 7, 26), 17, 11.5),
                                            (datetime.date(2008, 7, 27), 9.5, 14)), 1):
    sheet.write(row, 0, day, dates)
    sheet.write(row, 1, north)
    sheet.write(row, 2, south)
book.save("xlwt_dates.xls")

page = ("<html><body><table><tr><th>城市</th><th>人口</th></tr>"
        "<tr><td>北京</td><td>2154</td></tr><tr><td>上海</td><td>2428</td></tr>"
        "<tr><td>广州</td><td>1530</td></tr></table></body></html>")
with open("python_gb2312.html", "wb") as out:
    out.write(page.encode("gb2312"))                        # no charset declared
PY

ssconvert --export-type=Gnumeric_Excel:excel_biff7 gnumeric_sales_source.csv gnumeric_sales_biff7.xls
# A Russian locale's code page (1251) for the Excel 5.0/95 texts; the Excel 97 file is UTF-16.
WINDOWS_LANGUAGE=ru ssconvert --export-type=Gnumeric_Excel:excel_biff7 gnumeric_cyrillic_source.csv gnumeric_cyrillic_biff7.xls
ssconvert --export-type=Gnumeric_Excel:excel_biff8 gnumeric_cyrillic_source.csv gnumeric_cyrillic.xls
