"""Builds kestra._kestra with the project's CMake build, for the
interpreter that runs this script, and hands it to setuptools. The
extension links the static library, so the installed module needs no
libkestra.so. Build folders go to build-pip/, apart from CMake's build/."""

import os
import pathlib
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = pathlib.Path(__file__).resolve().parent


class CMakeExtension(Extension):
    """An extension whose sources CMake knows."""

    def __init__(self, name, target):
        super().__init__(name, sources=[])
        self.target = target


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = pathlib.Path(self.build_temp).resolve() / "cmake"
        configure = ["cmake", "-S", str(ROOT), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
                     "-DKESTRA_BUILD_TESTS=OFF", "-DKESTRA_BUILD_PYTHON=ON",
                     f"-DPython_EXECUTABLE={sys.executable}"]
        if shutil.which("ninja"):
            configure += ["-G", "Ninja"]
        subprocess.run(configure, check=True)
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", str(os.cpu_count() or 1))
        subprocess.run(["cmake", "--build", str(build), "--target", ext.target, "-j", jobs],
                       check=True)
        built = next((build / "python" / "kestra").glob("_kestra*" + _suffix()))
        target = pathlib.Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)


def _suffix():
    import sysconfig
    return sysconfig.get_config_var("EXT_SUFFIX") or ".so"


(ROOT / "build-pip").mkdir(exist_ok=True)
setup(ext_modules=[CMakeExtension("kestra._kestra", "kestra_python")],
      cmdclass={"build_ext": CMakeBuild},
      options={"build": {"build_base": "build-pip"}, "egg_info": {"egg_base": "build-pip"}})
