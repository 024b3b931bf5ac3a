"""Numeron components from Python.

create(prog_id) makes an object by its program identifier, through the registration file
($NUMERON_REGISTRY, else the user's), and its members are its attributes: looked up by name in
any case, called with the parameters, defaults and help of the component's type library.

    >>> import numeron
    >>> n = numeron.create()
    >>> n.Divide("1", "7", 20, numeron.TypeOfValue.String_Value)
    '0.14285714285714285714'

Arguments: str as text, bool as a Boolean, int as a 16- or 32-bit integer where it fits and as
its exact text beyond, float as a double, decimal.Decimal as its exact text, None as a missing
optional argument, HugeNumber as its digit array, Ref(value) as a variable the member may write
into. Results come back as str, bool, int, float, HugeNumber or None.
"""

import decimal
import enum
import inspect
import keyword

from . import _numeron

DEFAULT_PROG_ID = "NumeronControl.Numeron"


class Error(Exception):
    """An error the component raised, or why it could not be created: .number, .description."""

    def __init__(self, number, description):
        super().__init__(number, description)
        self.number = number
        self.description = description

    def __str__(self):
        return f"{self.description} (error {self.number})"


class Ref:
    """A variable passed by reference: what the member writes back lands in .value."""

    __slots__ = ("value",)

    def __init__(self, value=None):
        self.value = value

    def __repr__(self):
        return f"numeron.Ref({self.value!r})"



class HugeNumber:
    """A digit array as components pass numbers: digits[i] stands at place lower_bound + i
    (0 ones, 1 tens, -1 tenths), a signed 16-bit digit, and the value is the sum of
    digit * 10**place; digits may lie outside 0..9 and differ in sign. variant_elements marks an
    array of Variant elements (None an empty element), as the component hands back its zeros.

    Two HugeNumbers are equal (and hash alike) when they are the same array: bounds, digits and
    element kind, since the component's results depend on all three. Compare values with
    to_decimal(). str() is the value's exact text in the component's form: "-" when negative, no
    leading or trailing zeros, "0" for zero, the point only before fraction digits (what the
    component's ConvertToString gives for the array, also where carries would overflow it).
    """

    __slots__ = ("_lower_bound", "_digits", "_variant_elements")

    def __init__(self, digits, lower_bound=0, variant_elements=False):
        digits = tuple(digits)
        kinds = set(map(type, digits)) - ({type(None)} if variant_elements else set())
        values = tuple(d or 0 for d in digits) if variant_elements else digits
        if not kinds <= {int} or (values and (min(values) < -32768 or max(values) > 32767)):
            raise ValueError("digits must be 16-bit integers")
        if (type(lower_bound) is not int or lower_bound < -2**31
                or lower_bound + max(len(digits) - 1, 0) >= 2**31):
            raise ValueError("places must lie within 32 bits")
        self._lower_bound = lower_bound
        self._digits = digits
        self._variant_elements = bool(variant_elements)

    lower_bound = property(lambda self: self._lower_bound)
    digits = property(lambda self: self._digits)
    variant_elements = property(lambda self: self._variant_elements)

    def _key(self):
        return self._lower_bound, self._digits, self._variant_elements

    def __eq__(self, other):
        return self._key() == other._key() if isinstance(other, HugeNumber) else NotImplemented

    def __hash__(self):
        return hash(self._key())

    def __repr__(self):
        elements = ", variant_elements=True" if self._variant_elements else ""
        return f"numeron.HugeNumber({self._digits}, lower_bound={self._lower_bound}{elements})"

    def __str__(self):
        # Carry upwards with floor division, so every place ends in 0..9; a carry left below
        # zero at the top means a negative value, whose magnitude the negated digits give.
        # [5, -1] at place 0 (5 - 10): carries 0 then -1, so negative; negated [-5, 1] gives
        # [5, 0] with no carry: "-5".
        for sign in (1, -1):
            places, carry = [], 0
            for d in self._digits:
                carry, digit = divmod(sign * (d or 0) + carry, 10)
                places.append(digit)
            while carry > 0:
                carry, digit = divmod(carry, 10)
                places.append(digit)
            if carry == 0:
                break
        # The places from the top down to place 0 or lower_bound, whichever is lower.
        text = "".join(map(str, reversed(places))) + "0" * max(self._lower_bound, 0)
        fraction_places = max(-self._lower_bound, 0)
        text = text.rjust(fraction_places + 1, "0")
        whole = text[:len(text) - fraction_places].lstrip("0") or "0"
        fraction = text[len(text) - fraction_places:].rstrip("0")
        negative = "-" if sign < 0 else ""
        return negative + whole + ("." + fraction if fraction else "")

    def to_decimal(self):
        """The exact value as a decimal.Decimal."""
        return decimal.Decimal(str(self))

    def __float__(self):
        return float(str(self))


class _Enum(enum.IntEnum):
    def __repr__(self):
        return f"{type(self).__name__}.{self.name}"


_enums_by_prog_id = {}  # prog_id -> {name: enum class}: one class per enumeration


def _enumerations(prog_id, library):
    if prog_id not in _enums_by_prog_id:
        enums = {}
        for name, values in library["enums"].items():
            try:
                enums[name] = _Enum(name, values, module=__name__)
            except (ValueError, TypeError):
                pass  # names Python cannot hold as an enumeration: pass their numbers instead
        _enums_by_prog_id.setdefault(prog_id, enums)
    return _enums_by_prog_id[prog_id]


def _python_name(name):
    return name + "_" if keyword.iskeyword(name) else name


def _signature(member, enums):
    parameters = []
    for p in member["params"]:
        annotation = p["type"] + (", written back: pass a numeron.Ref" if p["written_back"] else "")
        default = inspect.Parameter.empty
        if p["optional"]:
            default = p["default"] if p["has_default"] else None
            if p["type"] in enums and isinstance(default, int):
                default = enums[p["type"]](default)
        parameters.append(inspect.Parameter(_python_name(p["name"]),
                                            inspect.Parameter.POSITIONAL_OR_KEYWORD,
                                            default=default, annotation=annotation))
    return inspect.Signature(parameters, return_annotation=member["result"])


class Object:
    """A component object: its members, and the enumerations of its type library, are its
    attributes, found by name in any case."""

    def __init__(self, prog_id=DEFAULT_PROG_ID):
        self._prog_id = prog_id
        self._dispatch = _numeron.Dispatch.create(prog_id)
        library = self._dispatch.type_library()
        self._members = {m["id"]: m for m in library["members"]}
        self._enums = _enumerations(prog_id, library)
        self._methods = {}  # dispatch id -> function
        # A separate interface, so that another thread can reach it while a call runs here.
        self._control = self._dispatch.query_interface("_NumeronCallControl")

    def __repr__(self):
        return f"<numeron object {self._prog_id}>"

    def __dir__(self):
        control = ["cancel", "progress", "time_limit"] if self._control else []
        return sorted([m["name"] for m in self._members.values()] + list(self._enums) + control)

    def _call_control(self, member, *args):
        if self._control is None:
            raise AttributeError(f"{self._prog_id} has no call control")
        return self._control.invoke(self._control.id_of(member), list(args), member)

    def cancel(self):
        """Ends the call running on this object (on another thread) with Error -2147220496;
        does nothing when no call runs."""
        self._call_control("Cancel")

    progress = property(lambda self: self._call_control("Progress"),
                        doc="The fraction done of the running call, 0 when none runs.")
    time_limit = property(lambda self: self._call_control("TimeLimit"),
                          lambda self, ms: self._call_control("TimeLimit", ms),
                          doc="Milliseconds a call may take (0: no limit); a call that takes "
                              "longer raises Error -2147220495.")

    def __getattr__(self, name):
        if name.startswith("_"):  # never a member: Python's own names and this object's
            raise AttributeError(name)
        try:
            dispid = self._dispatch.id_of(name)
        except AttributeError:
            for enum_name, enum_class in self._enums.items():
                if enum_name.lower() == name.lower():
                    return enum_class
            raise AttributeError(f"{self._prog_id} has no member {name!r}") from None
        if dispid not in self._methods:
            self._methods[dispid] = self._method(dispid, name)
        setattr(self, name, self._methods[dispid])  # later look-ups skip the component
        return self._methods[dispid]

    def _method(self, dispid, name):
        member = self._members.get(dispid, {"name": name, "params": [], "result": "Variant"})
        name = member["name"]
        positions = {_python_name(p["name"]).lower(): i for i, p in enumerate(member["params"])}
        invoke = self._dispatch.invoke

        def call(*args, **keywords):
            values = list(args)
            for key, value in keywords.items():
                i = positions.get(key.lower())
                if i is None or i < len(args):
                    problem = "an unexpected" if i is None else "a second value for"
                    raise TypeError(f"{name}() got {problem} argument {key!r}")
                values.extend([None] * (i + 1 - len(values)))  # skipped: missing, as None
                values[i] = value
            return invoke(dispid, values, name)

        call.__name__ = call.__qualname__ = name
        call.__doc__ = member.get("help") or None
        try:
            call.__signature__ = _signature(member, self._enums)
        except ValueError:
            pass  # parameter names Python cannot spell: help shows (*args, **keywords)
        return call


def create(prog_id=DEFAULT_PROG_ID):
    """Creates the object registered under prog_id; raises Error saying why it cannot."""
    return Object(prog_id)


def __getattr__(name):
    """The enumerations of NumeronControl.Numeron, e.g. numeron.TypeOfValue.String_Value."""
    if not name.startswith("__"):
        if DEFAULT_PROG_ID not in _enums_by_prog_id:
            try:
                create()
            except Error as error:
                raise AttributeError(f"numeron.{name}: {error}") from error
        if name in _enums_by_prog_id[DEFAULT_PROG_ID]:
            return _enums_by_prog_id[DEFAULT_PROG_ID][name]
    raise AttributeError(f"module 'numeron' has no attribute {name!r}")
