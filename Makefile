# The README's commands. Everything the build needs is installed here, once.
SHELL := /bin/bash
PRESET ?= debug
BIN := build/bin
DEMO := build/demo/demo.qes
PACKAGES := $(shell sed -e 's/\#.*//' deps/debian.txt)

.PHONY: all deps build test run demo core-test asan-test install clean

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

# The core and its tests without Qt, and under the address and undefined sanitizers.
core-test: deps
	cmake --preset core >/dev/null && cmake --build --preset core && ctest --preset core

asan-test: deps
	cmake --preset asan >/dev/null && cmake --build --preset asan && ctest --preset asan

install: build
	cmake --install build

clean:
	rm -rf build build-release build-asan build-core
