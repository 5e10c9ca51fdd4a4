"""The type stubs shipped beside the package name every public function
with the parameters the functions really take."""

import ast
import inspect
import pathlib

import kestra

PACKAGE = pathlib.Path(kestra.__file__).parent


def stub_functions():
    tree = ast.parse((PACKAGE / "__init__.pyi").read_text())
    return {node.name: node for node in tree.body if isinstance(node, ast.FunctionDef)}


def stub_parameters(node):
    """(name, kind, has a default) of each parameter of a stub function."""
    args = node.args
    positional = args.posonlyargs + args.args
    first_default = len(positional) - len(args.defaults)
    rows = [(a.arg, "positional", i >= first_default) for i, a in enumerate(positional)]
    rows += [(a.arg, "keyword", d is not None) for a, d in zip(args.kwonlyargs, args.kw_defaults)]
    return rows


def runtime_parameters(function):
    kinds = {inspect.Parameter.KEYWORD_ONLY: "keyword"}
    return [(p.name, kinds.get(p.kind, "positional"), p.default is not inspect.Parameter.empty)
            for p in inspect.signature(function).parameters.values()]


def test_the_package_is_typed():
    assert (PACKAGE / "py.typed").is_file()


def test_stubs_match_the_functions():
    stubs = stub_functions()
    functions = [name for name in kestra.__all__ if inspect.isfunction(getattr(kestra, name))]
    assert functions
    for name in functions:
        assert name in stubs, f"{name} has no stub"
        assert stub_parameters(stubs[name]) == runtime_parameters(getattr(kestra, name)), name


def test_stubs_name_every_public_class():
    tree = ast.parse((PACKAGE / "__init__.pyi").read_text())
    classes = {node.name for node in tree.body if isinstance(node, ast.ClassDef)}
    assert {name for name in kestra.__all__ if inspect.isclass(getattr(kestra, name))} <= classes
