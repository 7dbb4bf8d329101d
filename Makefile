# Front door: `make demo` and `make test` work on a fresh Debian machine as root.
PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev qt6-declarative-dev \
            libcurl4-openssl-dev libpugixml-dev libcpp-httplib-dev \
            libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core libxml2-utils
JOBS ?= $(shell nproc)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build test asan tsan demo bench clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build/build.ninja: CMakeLists.txt | deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps build/build.ninja
	cmake --build build -j $(JOBS)

test: build
	cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

asan: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=address,undefined
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

tsan: deps
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=thread
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && QT_QPA_PLATFORM=offscreen \
	  TSAN_OPTIONS="die_after_fork=0 suppressions=$(CURDIR)/cmake/tsan.supp" \
	  ctest --output-on-failure -j $(JOBS)

demo: build
	apps/demo/run-demo.sh build/bin

bench: build
	build/bin/vantrel-bench

clean:
	rm -rf build build-asan build-tsan
