#!/bin/sh
# Rebuilds the reference workbooks of the workbook tests with the outside converter
# (Debian package gnumeric). The .xls files are committed; run this only to renew them.
set -e
cd "$(dirname "$0")"
ssconvert -T Gnumeric_Excel:excel_biff8 simplu.csv simplu.xls
ssconvert -T Gnumeric_Excel:excel_biff8 bogat.gnumeric bogat.xls
