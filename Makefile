# The README's commands. Everything the build needs is installed here, once.
SHELL := /bin/bash
PRESET ?= debug
BIN := build/bin
DEMO := build/demo/demo.qes
PACKAGES := $(shell sed -e 's/\#.*//' deps/debian.txt)

.PHONY: all deps build test run demo bench core-test asan-test fuzz-build fuzz-test fuzz-long office-check install clean

all: build

# Installs the Debian packages that are missing, and the French locale the
# number-formatting tests switch to. Needs root only when something is missing.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi
	@if ! locale -a 2>/dev/null | grep -qi '^fr_FR.utf-\?8$$'; then \
	  sed -i 's/^# *fr_FR.UTF-8 UTF-8/fr_FR.UTF-8 UTF-8/' /etc/locale.gen && locale-gen >/dev/null; \
	fi

build: deps
	cmake --preset $(PRESET) >/dev/null
	cmake --build --preset $(PRESET)

$(DEMO): build
	@mkdir -p build/demo
	$(BIN)/qesbuild demo build/demo

demo: $(DEMO)

test: build
	ctest --preset $(PRESET)

run: demo
	$(BIN)/morvane $(DEMO)

# The benchmark of the README (tools/bench/run-all.sh) on the release preset; PSPP, R and its
# packages are used when installed and skipped, with a word, when not.
bench: deps
	cmake --preset release >/dev/null && cmake --build --preset release
	tools/bench/run-all.sh

# The core and its tests without Qt, and under the address and undefined sanitizers.
core-test: deps
	cmake --preset core >/dev/null && cmake --build --preset core && ctest --preset core

asan-test: deps
	cmake --preset asan >/dev/null && cmake --build --preset asan && ctest --preset asan

# The libFuzzer targets of the readers of stored data (clang, core only, address and undefined
# sanitizers). Each runs FUZZ_SECONDS on the seed corpus that fuzz_seeds writes, plus the inputs
# earlier runs kept in build-fuzz/corpus/<target>; a failure prints the end of its log and leaves
# the input in build-fuzz/artifacts/.
FUZZ_SECONDS ?= 20
FUZZ_DIR := build-fuzz

fuzz-build: deps
	cmake --preset fuzz >/dev/null && cmake --build --preset fuzz

fuzz-test: fuzz-build
	@rm -rf $(FUZZ_DIR)/seeds && $(FUZZ_DIR)/bin/fuzz_seeds $(FUZZ_DIR)/seeds
	@mkdir -p $(FUZZ_DIR)/artifacts
	@set -e; for t in $$(cat $(FUZZ_DIR)/fuzz-targets.txt); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/seeds/$$t; \
	  echo "fuzzing $$t for $(FUZZ_SECONDS) s"; \
	  $(FUZZ_DIR)/bin/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/artifacts/$$t- $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/seeds/$$t \
	    > $(FUZZ_DIR)/$$t.log 2>&1 || { tail -40 $(FUZZ_DIR)/$$t.log; exit 1; }; \
	  grep -E '^(Done|stat::peak_rss_mb)' $(FUZZ_DIR)/$$t.log; \
	done

fuzz-long:
	$(MAKE) fuzz-test FUZZ_SECONDS=60

# The exports opened by an office suite (not part of `make test`: LibreOffice is large): the
# golden requests exported by qesrun to RTF and .xlsx, read back as text and values by LibreOffice
# headless, the dictionary and concordance windows' RTF read back whole (no word broken on their
# pages), and the cross table's RTF made a PDF and a PNG in build/office-check/.
OFFICE_PACKAGES := libreoffice-writer-nogui libreoffice-calc-nogui poppler-utils

office-check: build
	@missing=""; for p in $(OFFICE_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi
	tools/office-check.sh $(BIN)

# The program, its desktop entry and icon, and the file types ".qes" and ".dos", under PREFIX;
# the desktop's MIME and application databases are refreshed where their tools are installed.
PREFIX ?= /usr/local

install: build
	cmake --install build --prefix $(PREFIX)
	@if command -v update-mime-database >/dev/null; then update-mime-database $(PREFIX)/share/mime; fi
	@if command -v update-desktop-database >/dev/null; then update-desktop-database $(PREFIX)/share/applications; fi

clean:
	rm -rf build build-release build-asan build-core build-fuzz
