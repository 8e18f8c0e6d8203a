# Kestrel: `make run` sets up, builds and starts the editor; `make test` sets up, builds and runs
# every test group.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all setup configure build run test clean

all: build

setup:
	scripts/setup

configure: setup
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	$(BUILD_DIR)/app/kestrel $(ARGS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD_DIR)
