"""Fixtures: one Wine session (Xvfb, prefix, server) per run; one Lumora copy per test."""
import pytest

from face_kit import DESKTOP_HEX, set_desktop
from lumora import Driver, LumoraApp, WineSession, worker_folder


# Files whose tests serve the same loopback ports (chrony on 123) run on one worker.
SHARED_PORTS_GROUP = {f"test_clock_setting{part}.py": "clock-setting" for part in ("", "_runs", "_strict")}
SHARED_PORTS_GROUP["test_clock_privilege.py"] = "clock-setting"


@pytest.hookimpl(tryfirst=True)  # before the worker reads the groups
def pytest_collection_modifyitems(items):
    """With parallel workers (--dist loadgroup) a file's tests stay together: its module fixtures
    are made once, and its tests see one another's leftovers as they would in a serial run."""
    for item in items:
        name = item.path.name
        item.add_marker(pytest.mark.xdist_group(SHARED_PORTS_GROUP.get(name, name)))


@pytest.fixture(scope="session")
def wine_session():
    session = WineSession()
    try:
        yield session.start()
    finally:
        session.stop()


@pytest.fixture
def driver(wine_session):
    return Driver(wine_session)


@pytest.fixture
def lumora(wine_session, tmp_path):
    app = LumoraApp(wine_session, tmp_path)
    try:
        yield app
    finally:
        app.end()


@pytest.fixture
def null_sound(tmp_path):
    """An ALSA configuration whose default device swallows everything: Wine then has a wave device."""
    config = tmp_path / "asound.conf"
    config.write_text("pcm.!default { type null }\n")
    return {"ALSA_CONFIG_PATH": str(config)}


@pytest.fixture(scope="module")
def coloured_desktop(wine_session):
    """A desktop that is neither black nor white, so that rims and transparency show."""
    set_desktop(wine_session, DESKTOP_HEX)
    yield
    set_desktop(wine_session, "black")


@pytest.fixture(scope="module")
def two_monitors():
    """A second Wine session whose screen is two monitors (both heads at 0,0 under Xvfb)."""
    session = WineSession(root=worker_folder("e2e-two-monitors"), screens=("1280x800x24", "1024x768x24"))
    try:
        session.start()
        set_desktop(session, DESKTOP_HEX)
        yield session
    finally:
        session.stop()
