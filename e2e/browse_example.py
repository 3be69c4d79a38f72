#!/usr/bin/env python3
"""Opens the HTML pages of the example project in headless Chromium.

    browse_example.py SCRIVLET SOURCE_DIR WORK_DIR SCREENSHOT_DIR

Compiles examples/Calc with templates/html.scvt into WORK_DIR.
At a desktop (1920 px) and a phone (390 px) width: every page of the
output must fit its width (no horizontal scrolling), and a screenshot of
the home page, the index, a module page and a member page is kept. Then
the search: a name typed into the home page's search box opens the index
filtered to the matching entries, the first hit is followed, and the page
it leads to is a page of the output.

Needs Debian's chromium, chromium-driver and python3-selenium; exits 77
(skipped) without them.
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import urllib.parse

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print("python3-selenium is not installed")
    sys.exit(77)

DRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"
WIDTHS = {"desktop": (1920, 1080), "phone": (390, 844)}


def browser(width, height, profile):
    options = webdriver.ChromeOptions()
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync",
                 "--hide-scrollbars", f"--user-data-dir={profile}",
                 f"--window-size={width},{height}"):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service(DRIVER), options=options)
    # The window size covers the browser's frame too: set the viewport.
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": 1,
        "mobile": width < 600})
    return driver


def url(path):
    return "file://" + urllib.parse.quote(os.path.abspath(path))


def overflow(driver):
    return driver.execute_script(
        "return document.documentElement.scrollWidth - window.innerWidth;")


def screenshot(driver, path):
    height = driver.execute_script(
        "return Math.min(document.documentElement.scrollHeight, 6000);")
    width = driver.execute_script("return window.innerWidth;")
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": 1,
        "mobile": width < 600})
    driver.save_screenshot(path)
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": WIDTHS["phone"][1] if width < 600 else WIDTHS["desktop"][1],
        "deviceScaleFactor": 1, "mobile": width < 600})


def main():
    if len(sys.argv) != 5:
        print(__doc__)
        return 2
    scrivlet, source, work, shots = sys.argv[1:]
    if not os.path.exists(DRIVER) or not shutil.which("chromium"):
        print("chromium or chromium-driver is not installed")
        return 77
    project = "Calc"
    out = os.path.join(work, "Calc-doc")
    shutil.rmtree(out, ignore_errors=True)
    subprocess.run([scrivlet, "compile", os.path.join(source, "examples/Calc/Calc.vbp"),
                    "--quiet", "--template", os.path.join(source, "templates/html.scvt"),
                    "--output", out], check=True, stdout=subprocess.DEVNULL)
    os.makedirs(shots, exist_ok=True)
    pages = sorted(glob.glob(os.path.join(out, "*.htm")))
    home = os.path.join(out, project + ".htm")
    index = os.path.join(out, project + "+index.htm")
    modules = [p for p in pages if "-" not in os.path.basename(p) and "+" not in os.path.basename(p)
               and p != home]
    members = [p for p in pages if "-" in os.path.basename(p)]
    shown = {"home": home, "index": index}
    if modules:
        shown["module"] = modules[0]
    if members:
        shown["member"] = max(members, key=os.path.getsize)
    faults = []
    for name, (width, height) in WIDTHS.items():
        profile = tempfile.mkdtemp()
        driver = browser(width, height, profile)
        try:
            for page in pages:
                driver.get(url(page))
                extra = overflow(driver)
                if extra > 0:
                    faults.append(f"{name}: {os.path.basename(page)} is {extra} px too wide")
            for what, page in shown.items():
                driver.get(url(page))
                screenshot(driver, os.path.join(shots, f"{project}-{what}-{width}.png"))

            # The search, from the home page's box to the page of the first hit.
            driver.get(url(home))
            box = driver.find_element(By.CSS_SELECTOR, "header input[type=search]")
            box.send_keys("apply")
            box.send_keys(Keys.ENTER)
            WebDriverWait(driver, 10).until(
                lambda d: "+index" in d.current_url and
                d.find_elements(By.CSS_SELECTOR, "#results li a"))
            hits = driver.find_elements(By.CSS_SELECTOR, "#results li a")
            texts = [h.text for h in hits]
            if not texts or not all("apply" in t.lower() for t in texts):
                faults.append(f"{name}: the search for apply found {texts}")
            screenshot(driver, os.path.join(shots, f"{project}-search-{width}.png"))
            if overflow(driver) > 0:
                faults.append(f"{name}: the filtered index is too wide")
            # Typing on the index page filters as one types; Enter follows
            # the first hit.
            box = driver.find_element(By.CSS_SELECTOR, "header input[type=search]")
            box.clear()
            box.send_keys("calc")
            WebDriverWait(driver, 10).until(
                lambda d: all("calc" in h.text.lower()
                              for h in d.find_elements(By.CSS_SELECTOR, "#results li a")))
            first = driver.find_element(By.CSS_SELECTOR, "#results li a")
            target = first.get_attribute("href")
            box.send_keys(Keys.ENTER)
            WebDriverWait(driver, 10).until(lambda d: d.current_url == target)
            landed = urllib.parse.unquote(urllib.parse.urlparse(driver.current_url).path)
            if not os.path.isfile(landed):
                faults.append(f"{name}: the first hit leads to a missing page {landed}")
            if not driver.find_elements(By.TAG_NAME, "h1"):
                faults.append(f"{name}: the first hit's page has no heading")
        finally:
            driver.quit()
            shutil.rmtree(profile, ignore_errors=True)
    for fault in faults:
        print(fault)
    print(f"{len(pages)} pages at {len(WIDTHS)} widths, {len(faults)} faults; "
          f"screenshots in {shots}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
