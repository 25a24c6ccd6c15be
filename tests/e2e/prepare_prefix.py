"""CTest fixture e2e_prefix: a fresh Wine prefix for this run of the
end-to-end tests (build/<arch>/e2e/prefix), with the recorder as the browser."""

import sys

import e2e_support

if __name__ == "__main__":
    if not e2e_support.os.environ.get("DISPLAY"):
        print("no DISPLAY: run the end-to-end tests through scripts/test.sh", file=sys.stderr)
        sys.exit(1)
    e2e_support.prepare_prefix()
