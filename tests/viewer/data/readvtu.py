#!/usr/bin/env python3
"""Reads a .pvd collection and its .vtu files with VTK's own reader (python3-vtk9), or with
meshio where VTK is missing, and prints what they hold as JSON on standard output, so that a
test can compare it with the solver's answers. Exit status 77: neither reader is installed."""
import json
import os
import sys
import xml.etree.ElementTree as ET

MESHIO_TYPES = {"line": 3, "triangle": 5, "quad": 9, "tetra": 10, "hexahedron": 12, "wedge": 13}


def values(array):
    return [list(map(float, v)) if hasattr(v, "__len__") else float(v) for v in array]


def read_vtk(vtk, path):
    from vtk.util.numpy_support import vtk_to_numpy
    reader = vtk.vtkXMLUnstructuredGridReader()
    reader.SetFileName(path)
    reader.Update()
    if reader.GetErrorCode() != 0:
        raise SystemExit("VTK cannot read " + path)
    grid = reader.GetOutput()

    def arrays(data):
        return {data.GetArrayName(k): values(vtk_to_numpy(data.GetArray(k)))
                for k in range(data.GetNumberOfArrays())}

    points = values(vtk_to_numpy(grid.GetPoints().GetData())) if grid.GetNumberOfPoints() else []
    cells = []
    for c in range(grid.GetNumberOfCells()):
        ids = grid.GetCell(c).GetPointIds()
        cells.append({"type": grid.GetCellType(c),
                      "points": [ids.GetId(k) for k in range(ids.GetNumberOfIds())]})
    return {"points": points, "cells": cells, "pointData": arrays(grid.GetPointData()),
            "cellData": arrays(grid.GetCellData()), "fieldData": arrays(grid.GetFieldData())}


def read_meshio(meshio, path):
    mesh = meshio.read(path)
    cells, cell_data = [], {}
    for block, cell_block in enumerate(mesh.cells):
        for row in cell_block.data:
            cells.append({"type": MESHIO_TYPES[cell_block.type], "points": [int(p) for p in row]})
        for name, blocks in mesh.cell_data.items():
            cell_data.setdefault(name, []).extend(values(blocks[block]))
    return {"points": values(mesh.points), "cells": cells,
            "pointData": {k: values(v) for k, v in mesh.point_data.items()},
            "cellData": cell_data,
            "fieldData": {k: values(v) for k, v in mesh.field_data.items()}}


def main():
    try:
        import vtk
        reader, name = (lambda path: read_vtk(vtk, path)), "vtk"
    except ImportError:
        try:
            import meshio
            reader, name = (lambda path: read_meshio(meshio, path)), "meshio"
        except ImportError:
            print("neither python3-vtk9 nor python3-meshio is installed")
            return 77
    collection = sys.argv[1]
    folder = os.path.dirname(collection)
    files = []
    for data_set in ET.parse(collection).getroot().iter("DataSet"):
        entry = reader(os.path.join(folder, data_set.get("file")))
        entry["file"] = data_set.get("file")
        entry["timestep"] = float(data_set.get("timestep"))
        files.append(entry)
    json.dump({"reader": name, "files": files}, sys.stdout)
    return 0


if __name__ == "__main__":
    sys.exit(main())
