#!/usr/bin/env python3
"""The layers check on a small tree of its own, made afresh for each case in a
temporary folder: an include that reaches outside the declared graph fails in
every spelling, and one inside it passes."""

import contextlib
import importlib.util
import io
import os
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location("CheckLayers", os.path.join(HERE, "..", "..", "cmake", "CheckLayers.py"))
check = importlib.util.module_from_spec(spec)
spec.loader.exec_module(check)

# name, folder, kind, deps: skin/core/own is a library of its own inside skin/core.
GRAPH = [
    ("base", "platform/base", "production", ""),
    ("kit", "platform/kit", "test", "base"),
    ("link", "link", "production", "base"),
    ("own", "skin/core/own", "production", ""),
    ("core", "skin/core", "production", "link"),
]
FILES = {
    "platform/base/Base.h": "#pragma once\n",
    "platform/kit/Kit.h": '#include "platform/base/Base.h"\n',
    "link/Link.h": '#include "platform/base/Base.h"\n#include <vector>\n',
    "skin/core/Core.h": '#include "link/Link.h"\n',
    "skin/core/own/Own.h": "#pragma once\n",
}


def run(files, graph=GRAPH):
    with tempfile.TemporaryDirectory(prefix="tarvel_layers_") as root:
        for path, text in {**FILES, **files}.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                f.write(text)
        graph_file = os.path.join(root, "layers.tsv")
        with open(graph_file, "w", encoding="utf-8") as f:
            f.writelines("\t".join(line) + "\n" for line in graph)
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            code = check.main(["CheckLayers.py", graph_file, root])
        return code, out.getvalue()


class LayersTest(unittest.TestCase):
    def test_declared_tree_passes(self):
        self.assertEqual(run({})[0], 0)

    def test_includes(self):
        # file, its text, whether the check must fail
        cases = [
            ("link/A.cpp", '#include "platform/base/Base.h"\n', False),
            ("skin/core/A.cpp", '#include "platform/base/Base.h"\n', False),  # through link
            ("link/A.cpp", '#include "Link.h"\n', False),
            ("skin/core/sub/A.cpp", '#include "../Core.h"\n', False),
            ("link/A.cpp", "#include <vector>\n#include <SDL2/SDL.h>\n", False),
            ("link/A.cpp", '#include "skin/core/Core.h"\n', True),
            ("link/A.cpp", "#include <skin/core/Core.h>\n", True),
            ("link/A.cpp", '#include "../skin/core/Core.h"\n', True),
            ("link/A.cpp", '  #  include   "skin/core/Core.h"  // spaced\n', True),
            ("link/A.cpp", '#include "skin/core/NotYet.h"\n', True),
            ("link/A.cpp", '#include "../../outside.h"\n', True),
            ("skin/core/A.cpp", '#include "own/Own.h"\n', True),  # a library inside its folder
            ("skin/core/A.cpp", '#include "platform/kit/Kit.h"\n', True),  # test-only
            ("link/A.cpp", '#include "tests/Helper.h"\n', True),
            ("app/Main.cpp", "int main() {}\n", True),  # in no library, so unchecked
        ]
        for path, text, fails in cases:
            with self.subTest(path=path, text=text):
                extra = {path: text}
                if "tests/Helper.h" in text:
                    extra["tests/Helper.h"] = ""
                code, out = run(extra)
                self.assertEqual(code, 1 if fails else 0, out)
                if fails:
                    self.assertIn(path, out)

    def test_graph(self):
        cases = [
            ("production uses test-only", GRAPH + [("app", "app", "production", "kit")], "test-only"),
            ("cycle", [g if g[0] != "base" else ("base", "platform/base", "production", "core") for g in GRAPH],
             "cycle"),
            ("unknown library", GRAPH + [("app", "app", "production", "nothing")], "not a library"),
        ]
        for name, graph, message in cases:
            with self.subTest(name):
                code, out = run({}, graph)
                self.assertEqual(code, 1, out)
                self.assertIn(message, out)


if __name__ == "__main__":
    unittest.main()
