# The two commands of the README: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run demo screenshot clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j2

run: build
	@bash scripts/run.sh $(BUILD)/bin

demo: build
	@bash scripts/demo.sh $(BUILD)/bin

screenshot: build
	@bash scripts/screenshot.sh $(BUILD)/bin

clean:
	rm -rf $(BUILD)
