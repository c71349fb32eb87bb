"""Locale patterns read from the system: the Japanese era calendar and a marker before the hour.

Wine honours the user's calendar and patterns under HKCU\\Control Panel\\International for
GetLocaleInfoW, though its own date formatting ignores the era calendar; the era table itself is
not in Wine's registry, so Lumora's built-in one is used here.
"""
import subprocess

import pytest

from kit import icon_texts
from lumora import wait_until

INTERNATIONAL = r"HKCU\Control Panel\International"
ERA_CALENDAR = {"iCalendarType": "3", "sLongDate": "gg y'年'M'月'd'日'", "sTimeFormat": "tt h:mm:ss"}


def reg(session, *args: str) -> subprocess.CompletedProcess:
    return subprocess.run(["wine", "reg", *args], env=session.env, capture_output=True, timeout=60)


def registry_value(session, name: str) -> str | None:
    result = reg(session, "query", INTERNATIONAL, "/v", name)
    # Wine's reg writes to a pipe in the ANSI code page of the Japanese session.
    for line in result.stdout.decode("cp932", "replace").splitlines():
        fields = line.split(None, 2)
        if result.returncode == 0 and len(fields) == 3 and fields[0] == name:
            return fields[2]
    return None


@pytest.fixture
def era_calendar(wine_session):
    saved = {name: registry_value(wine_session, name) for name in ERA_CALENDAR}
    try:
        for name, value in ERA_CALENDAR.items():
            reg(wine_session, "add", INTERNATIONAL, "/v", name, "/t", "REG_SZ", "/d", value, "/f").check_returncode()
        yield
    finally:
        for name, value in saved.items():
            if value is None:
                reg(wine_session, "delete", INTERNATIONAL, "/v", name, "/f")
            else:
                reg(wine_session, "add", INTERNATIONAL, "/v", name, "/t", "REG_SZ", "/d", value, "/f")


def test_the_era_calendar_and_a_leading_marker_show_as_windows_shows_them(lumora, era_calendar):
    lumora.write_settings("[Boot]\nShowSplash=0\n[View]\nTaskTrayToolTipFormat=\"ERA \"dddddd tt\n")
    lumora.start(faketime="@2025-06-15 15:05:07")
    texts = wait_until(lambda: icon_texts(lumora, "ERA "), timeout=15)
    assert texts[0].startswith("ERA 令和 7年6月15日 午後 3:05:"), texts
