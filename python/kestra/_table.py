"""kestra.read_table: a table from an HTML, workbook or CSV file."""
