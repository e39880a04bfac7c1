"""The tables of one of our data files as the benchmarks' checks read them back: per table
number, each item's values after its leading number."""


def read_tables(path):
    tables, table = {}, None
    with open(path, newline="") as file:
        for line in file:
            line = line.rstrip("\r\n")
            if line.startswith("*"):
                table = int(line[1:].split()[0])
                tables[table] = []
            elif line.startswith("#") and table is not None:
                tables[table].append(line[1:].split()[1:])
    return tables
