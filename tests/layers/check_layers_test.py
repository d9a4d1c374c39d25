"""The layering checker on small trees: clean ones pass, each kind of
dependency that points up fails and is named."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

CHECKER = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "check-layers"


def run_on(files):
    with tempfile.TemporaryDirectory() as folder:
        root = pathlib.Path(folder)
        for rel, text in files.items():
            path = root / rel
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
        done = subprocess.run([sys.executable, str(CHECKER), str(root)], capture_output=True, text=True)
        return done.returncode, done.stdout


class CheckLayersTest(unittest.TestCase):
    def test_includes_pointing_down_pass(self):
        code, out = run_on({
            "render/pixels/PixelView.h": "#pragma once\n",
            "framework/Graphics.h": '#include "render/pixels/PixelView.h"\n',
            "controls/skindata/sCommonData.cpp": '#include "framework/Graphics.h"\n#include "skin/sSkinManager.h"\n',
            "skin/sSkinManager.h": '#include "controls/protocol/sMessages.h"\n',
            "controls/protocol/sMessages.h": "#pragma once\n",
            "tests/any_test.cpp": '#include "controls/skindata/sCommonData.h"\n',
            "gallery/GalleryForm.cpp": '#include "forms/sSkinProvider.h"\n#include "gallery/GalleryLayout.h"\n',
            "tools/any_tool.cpp": '#include "gallery/GalleryForm.h"\n',
        })
        self.assertEqual(code, 0, out)

    def test_faults_are_named(self):
        cases = [
            ("framework/Graphics.h", '#include "render/paint/SkinPaintItem.h"\n', "'framework' may not use 'painters'"),
            ("render/paint/SkinPaintText.cpp", '#include "controls/skindata/sCommonData.h"\n',
             "'painters' may not use 'skin data'"),
            ("controls/protocol/sVclUtils.cpp", '#include "skin/sSkinState.h"\n', "'skin protocol' may not use 'skin'"),
            # a sub-folder is its own layer, above the folder it sits in
            ("shell/acShellFolder.cpp", '#include "shell/tree/acShellTree.h"\n', "'shell folders' may not use 'shell tree'"),
            ("render/pixels/Kernels.cpp", "#include <windows.h>\n", "portable layer 'pixels' includes a platform header"),
            ("skin/CMakeLists.txt", "target_link_libraries(translit_skin PUBLIC translit_paint)\n",
             "translit_skin ('skin') links translit_paint ('painters')"),
            # two programs side by side: neither uses the other
            ("gallery/GalleryForm.cpp", '#include "app/Unit1.h"\n', "'gallery' may not use 'app' beside it"),
            ("app/Unit1.cpp", '#include "gallery/GalleryForm.h"\n', "'app' may not use 'gallery' beside it"),
            ("gallery/CMakeLists.txt", "target_link_libraries(translit_gallery PUBLIC translit_app)\n",
             "translit_gallery ('gallery') links translit_app ('app') beside it"),
            ("forms/sSkinProvider.cpp", '#include "gallery/GalleryForm.h"\n', "'forms' may not use 'gallery' above it"),
        ]
        for rel, text, expected in cases:
            with self.subTest(rel=rel):
                code, out = run_on({rel: text})
                self.assertEqual(code, 1, out)
                self.assertIn(expected, out)


if __name__ == "__main__":
    unittest.main()
