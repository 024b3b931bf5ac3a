"""The numeron package against the built component and the test component (NumeronFake.Echo,
whose Describe answers what kind and value each argument arrived as)."""
import inspect
import os
import pydoc
import re
import subprocess
import sys
import threading
import time
from decimal import Decimal

import pytest

import numeron
from numeron import HugeNumber as H, Ref

FAKE = os.environ["NUMERON_FAKE_COMPONENT"]


@pytest.fixture(scope="module", autouse=True)
def registry(tmp_path_factory):
    """The build's registration file, plus the test component and a library that is gone."""
    path = tmp_path_factory.mktemp("registry") / "registry"
    with open(os.environ["NUMERON_REGISTRY"]) as build:
        path.write_text(build.read() + f"NumeronFake.Echo\t{{6E756D65-726F-4E00-8000-000000000001}}"
                        f"\t{FAKE}\nNumeron.Gone\t{{1}}\t/nonexistent/libgone.so\n")
    with pytest.MonkeyPatch.context() as patch:
        patch.setenv("NUMERON_REGISTRY", str(path))
        yield


@pytest.fixture
def n():
    return numeron.create()


@pytest.fixture
def echo():
    return numeron.create("NumeronFake.Echo")


@pytest.mark.parametrize("value, arrives_as", [
    ("1.5", 'text:"1.5"'), ("é", 'text:"é"'), ("\udcff", 'text:"\udcff"'),  # not UTF-8: kept
    (True, "bool:true"), (False, "bool:false"),
    (32767, "i2:32767"), (-32768, "i2:-32768"), (32768, "i4:32768"), (-32769, "i4:-32769"),
    (2**31 - 1, "i4:2147483647"), (-2**31, "i4:-2147483648"),
    (2**31, 'text:"2147483648"'), (-2**31 - 1, 'text:"-2147483649"'),
    (10**30, 'text:"1000000000000000000000000000000"'), (1.5, "d:1.5"),
    (Decimal("1.50"), 'text:"1.50"'), (Decimal("-1E+3"), 'text:"-1E+3"'), (None, "missing"),
    (numeron.TypeOfValue.String_Value, "i4:1"), (H((5, 1), -1), "array[-1..0 i2]{5,1}"),
    (H((None,), 0, True), "array[0..0 var]{empty}"), (H((0,), 0, True), "array[0..0 var]{i2:0}"),
    (Ref(), "empty"), (Ref(7), "i2:7"),
])
def test_arguments_arrive_as_their_kind(echo, value, arrives_as):
    assert echo.Describe(value) == arrives_as


def test_keywords_fill_their_places_and_skipped_ones_are_missing(echo):
    assert echo.Describe(Second=5) == "missing i2:5"
    assert echo.describe(1, second="x") == 'i2:1 text:"x"'  # names in any case
    assert echo.Count(1, 2, 3) == 3  # positional arguments beyond the type library pass on
    for bad in (lambda: echo.Describe(1, First=2), lambda: echo.Describe(Third=1)):
        with pytest.raises(TypeError):
            bad()


@pytest.mark.parametrize("value", [b"1", [1], object(), 1j])
def test_values_of_other_types_are_refused(echo, value):
    with pytest.raises(TypeError, match="cannot take a value of type"):
        echo.Describe(value)


@pytest.mark.parametrize("digits, lower_bound", [
    ((32768,), 0), ((1.5,), 0), ((None,), 0), ((True,), 0), ((1,), 2**31), ((1, 1), 2**31 - 1),
    ((1,), 0.0),
])
def test_huge_numbers_hold_only_16_bit_digits_at_32_bit_places(digits, lower_bound):
    with pytest.raises(ValueError):
        H(digits, lower_bound)


@pytest.mark.parametrize("member, args, expected", [
    ("Divide", ("1", "7", 50, 1), "0.14285714285714285714285714285714285714285714285714"),
    ("Compare", ("0.5", 0.25, numeron.Comparison_Operator.greaterthan), True),
    ("ConvertToDouble", ("0.1",), 0.1),
    ("GetType", ("x",), 1),
    ("Add", ("199", "1", 0), H((0, 10, 1))),
    ("Multiply", ("0", "5", 0), H((0,), 0, True)),
    ("Add", (2**70, 1, 1), str(2**70 + 1)),
    ("Add", (H((0, 10, 1)), Decimal("0.5E-1"), 1), "200.05"),
])
def test_results_come_back_as_their_kind(n, member, args, expected):
    result = getattr(n, member)(*args)
    assert (type(result), result) == (type(expected), expected)


@pytest.mark.parametrize("digits, lower_bound, text", [
    ((0, 10, 1), 0, "200"), ((5, -1), 0, "-5"), ((5,), -2, "0.05"), ((1,), 2, "100"),
    ((0, 5), -1, "5"), ((-5, 0, 0), -2, "-0.05"), ((), 0, "0"), ((0, 0), 3, "0"),
    ((32767, 32767, 32767), 0, "3637137"),  # the component's carries overflow 16 bits here
])
def test_huge_number_text_is_the_exact_value_as_the_component_writes_it(n, digits, lower_bound,
                                                                         text):
    h = H(digits, lower_bound)
    assert str(h) == text and h.to_decimal() == Decimal(text)
    if text != "3637137":
        assert n.ConvertToString(h) == text


def test_huge_numbers_are_equal_as_arrays():
    assert H((0, 10, 1)) == H([0, 10, 1]) and hash(H((0, 10, 1))) == hash(H([0, 10, 1]))
    assert len({H((0, 10, 1)), H((0, 0, 2)), H((2,), 2), H((0,), 0, True), H((0,))}) == 5


@pytest.mark.parametrize("member, args, written", [
    ("Pi", [Ref(5000)], [999]),
    ("Round", ["1.26", Ref(-1)], [None, 1]),
    ("LineUpStringValues", [Ref("1.5"), Ref("22"), 0], [" 1.5", "22.0", None]),
    ("Add", [Ref(d := Decimal("1.0")), Ref(2), 1], [d, 2, None]),  # not written: left as they were
])
def test_refs_receive_what_the_member_writes_back(n, member, args, written):
    getattr(n, member)(*args)
    assert [a.value if isinstance(a, Ref) else None for a in args] == written
    assert all(a.value is w for a, w in zip(args, written) if isinstance(w, Decimal))


@pytest.mark.parametrize("call, error, number", [
    (lambda n: n.Divide(1, 0), numeron.Error, -2147220499),
    (lambda n: n.Add("abc", 1, 1), numeron.Error, -2146828275),
    (lambda n: n.Factorial(-1), numeron.Error, -2147220504),
    (lambda n: n.NoSuchMember, AttributeError, None),
    (lambda n: n.Divide(1), TypeError, None),  # an argument that is not optional
    (lambda n: n.Divide(None, 1), TypeError, None),
    (lambda n: n.Divide(1, 2, 3, 4, 5), TypeError, None),  # too many
    (lambda n: n.Divide(1, 2, Bogus=3), TypeError, None),
])
def test_failures_raise(n, call, error, number):
    with pytest.raises(error) as raised:
        call(n)
    if number is not None:
        assert raised.value.number == number and raised.value.description in str(raised.value)


@pytest.mark.parametrize("prog_id, number, why", [
    ("Nobody.Registered", -2147221164, "not registered"),
    ("Numeron.Gone", None, "/nonexistent/libgone.so"),
])
def test_creation_failures_say_why(prog_id, number, why):
    with pytest.raises(numeron.Error, match=why) as raised:
        numeron.create(prog_id)
    assert number in (None, raised.value.number)


def test_members_and_enumerations_are_found_in_any_case_and_listed(n, echo):
    assert n.divide is n.Divide and n.typeofvalue is numeron.TypeOfValue
    assert {"Divide", "Pi", "TypeOfValue"} <= set(dir(n)) and dir(echo) == ["Count", "Describe"]
    assert numeron.TypeOfValue.String_Value == 1 and not hasattr(numeron, "NoSuchEnumeration")


def test_help_shows_parameters_defaults_and_the_help_string(n):
    text = pydoc.render_doc(n.Divide, renderer=pydoc.plaintext)
    assert ("Divide(Numeric_Expression1: 'Variant', Numeric_Expression2: 'Variant', "
            "Precision: 'Long' = 10, Return_Type: 'TypeOfValue' = TypeOfValue.Huge_Number) "
            "-> 'Variant'") in text
    assert "Returns the result of dividing numeric_expression1" in text
    precision = inspect.signature(n.Pi).parameters["Precision"]
    assert "written back" in precision.annotation and precision.default == 10


def test_calls_release_the_gil_and_separate_objects_run_at_once():
    objects = [numeron.create(), numeron.create()]
    shared = objects[0]
    results = []

    def long_call(obj):
        results.append(obj.Log_e("2", 1500, 400, 1))

    threads = [threading.Thread(target=long_call, args=(o,)) for o in objects + [shared]]
    for t in threads:
        t.start()
    ticks = 0
    while any(t.is_alive() for t in threads):
        ticks += 1
        time.sleep(0.001)
    assert ticks > 20 and len(results) == 3 and len(set(results)) == 1


def test_call_control_limits_cancels_and_reports_progress(n, echo):
    assert (n.time_limit, n.progress) == (0, 0) and "cancel" in dir(n)
    n.time_limit = 1
    with pytest.raises(numeron.Error) as raised:
        n.Log_e("2", 3000, 300, 1)
    assert raised.value.number == -2147220495 and n.time_limit == 1
    n.time_limit = 0
    outcome = []

    def long_call():
        with pytest.raises(numeron.Error) as cancelled:
            n.Log_e("2", 100000, 5000, 1)
        outcome.append(cancelled.value.number)

    thread = threading.Thread(target=long_call)
    thread.start()
    deadline = time.monotonic() + 10
    while n.progress == 0 and time.monotonic() < deadline:
        time.sleep(0.001)
    n.cancel()
    thread.join()
    assert outcome == [-2147220496] and n.progress == 0
    with pytest.raises(AttributeError, match="no call control"):
        echo.cancel()
    assert not hasattr(echo, "time_limit") and "cancel" not in dir(echo)


def test_the_readme_session_prints_what_the_readme_shows():
    with open(os.environ["NUMERON_README"]) as readme:
        session = re.search(r"```console\n\$ PYTHONPATH=\S+ NUMERON_REGISTRY=\S+ "
                            r"python3 -c '\n(.*?)'\n(.*?)```", readme.read(), re.S)
    assert session, "README.md lost its Python session"
    env = dict(os.environ, PYTHONPATH=os.path.dirname(os.path.dirname(numeron.__file__)))
    ran = subprocess.run([sys.executable, "-c", session[1]], env=env, capture_output=True,
                         text=True)
    assert (ran.stdout, ran.stderr) == (session[2], "")


def test_cmake_install_puts_the_package_in_the_prefix_package_folder(tmp_path):
    subprocess.run([os.environ["CMAKE_COMMAND"], "--install", os.environ["NUMERON_BUILD_DIR"],
                    "--prefix", tmp_path], check=True, capture_output=True)
    folder = tmp_path / os.environ["NUMERON_PYTHON_INSTALL_DIR"]
    ran = subprocess.run([sys.executable, "-c", "import numeron; print(numeron.__file__, "
                          "numeron.create().Add('1.5', 2, 1))"], capture_output=True, text=True,
                         cwd=tmp_path, env=dict(os.environ, PYTHONPATH=str(folder)))
    assert ran.stdout == f"{folder / 'numeron' / '__init__.py'} 3.5\n", ran.stderr
